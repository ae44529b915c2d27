// The file dialogs of the sequential import's windows, answered as the user does.
#pragma once

#include "ventanas.h"

#include <QFileDialog>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <string>

// Answers the next file dialog with the file: its folder, then its name typed.
inline void Elige(const std::string &fichero)
{
    AlMostrarse<QFileDialog>([fichero](QFileDialog *d) {
        const size_t barra = fichero.rfind('/');
        d->setDirectory(QString::fromStdString(fichero.substr(0, barra)));
        // The name typed (the dialog reads its folder in the background).
        auto *nombre = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!nombre) {
            ADD_FAILURE() << "no file name box";
            d->reject();
            return;
        }
        nombre->setText(QString::fromStdString(fichero.substr(barra + 1)));
        static_cast<QDialog *>(d)->accept(); // the file dialog hides its accept
    });
}
