// The main window's batch history command.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Unirelacion.h"
#include "qcp1252.h"

#include <QTableWidget>

void TFormMain::ConectaHistoricos()
{
    Conecta(cbtHistorico, &TFormMain::cbtHistoricoClick, panelGrdRemesas);
    Conecta(MNUHistoricos, &TFormMain::cbtHistoricoClick, panelGrdRemesas);
}

void TFormMain::cbtHistoricoClick()
{
    Inactividad.Reinicia();
    const int fila = lstGridRemesas->currentRow();
    if (panelGrdRemesas->isHidden() || fila < 0)
        return;
    MuestraHistoricos(fila);
}

void TFormMain::MuestraHistoricos(int fila)
{
    QTableWidgetItem *generacion = lstGridRemesas->item(fila, 2);
    const QTableWidgetItem *celdaId = lstGridRemesas->item(fila, 0);
    if (!celdaId || celdaId->text().isEmpty())
        return;
    if (!generacion || generacion->text() == QLatin1String("NULL")) {
        AvisoTexto(198, 6, IconoMensaje::Informacion);
        return;
    }
    const int id = Numero(cp1252::fromQString(celdaId->text()));
    _multiuser *m = App().Multiuser;
    const bool bloqueada = m && m->BloqueaRemesa(id, false);
    TFRMRelacion *relacion = App().FRMRelacion;
    relacion->IdRemesa = id;
    relacion->exec();
    // Closing the list releases what it took.
    if (bloqueada)
        m->DesbloqueaRemesa(id, false);
    if (relacion->Cambiado)
        generacion->setText(QStringLiteral("NULL"));
}
