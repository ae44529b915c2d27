// The main window's concept-template command: the designer shown modally from the menu and
// the toolbar, and freed when it closes.
#include "rejillas.h"

#include "Frmplantillas.h"
#include "ventanas.h"

#include <QPushButton>
#include <QToolButton>

namespace {

class Plantillas : public rejillas::Rejillas {};

TEST_F(Plantillas, TheCommandShowsTheDesignerModallyAndFreesIt)
{
    for (QAction *comando : {m->mainMenuGestionPlantillas, m->cbtGestionPlantillas}) {
        ASSERT_TRUE(comando->isEnabled()) << comando->objectName().toStdString();
        bool modal = false;
        AlMostrarse<TFormPlantillas>([&modal](TFormPlantillas *d) {
            modal = d->isModal();
            d->BottomCerrar->click();
        });
        comando->trigger();
        EXPECT_TRUE(modal);
        for (QWidget *ventana : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<TFormPlantillas *>(ventana), nullptr) << "freed when it closed";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

} // namespace
