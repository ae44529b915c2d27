// The progress of the users file's import.
#include "Usprogress.h"

#include "Multiidioma.h"
#include "qcp1252.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TFRMUsProgress::TFRMUsProgress(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(cp1252::toQString(Idioma.GetTexto(914)), this)),
      ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FRMUsProgress"));
    setWindowTitle(QStringLiteral("Orvanta"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto *capas = new QVBoxLayout(this);
    capas->addWidget(Label1);
    capas->addWidget(ProgressBar1);
    setFixedSize(314, 70);
}
