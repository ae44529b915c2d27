// The send-file viewer on a history copy of 100,000 bills: the structure check with the
// index, the window opened on the issuer's bills and a sort by amount. Built, never run by
// CTest.
#include "Unithistoricos.h"
#include "Unitopcionales.h"

#include "Aplicacion.h"
#include "csb.h"
#include "entorno.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <cstdio>

namespace {

std::string Cifras(long long n, int ancho)
{
    char t[32];
    std::snprintf(t, sizeof t, "%0*lld", ancho, n);
    return t;
}

std::string Fichero(int recibos)
{
    std::vector<std::string> l{csb::Registro("5180", {{5, "B12345678000"}, {17, "091226"}, {29, "Presentador"}}),
                               csb::Registro("5380", {{5, "A11111111000"}, {29, "Emisor"}, {97, "01"}})};
    long long total = 0;
    for (int i = 0; i < recibos; ++i) {
        const long long importe = (i * 7919LL) % 100000 + 1;
        total += importe;
        l.push_back(csb::Registro("5680", {{5, "A11111111000"}, {17, Cifras(i, 12)}, {29, "Titular"},
                                           {69, "20590060212084518352"}, {89, Cifras(importe, 10)},
                                           {115, "Cuota"}}));
    }
    l.push_back(csb::Registro("5880", {{89, Cifras(total, 10)}, {105, Cifras(recibos, 10)},
                                       {115, Cifras(recibos + 2, 10)}}));
    l.push_back(csb::Registro("5980", {{69, "0001"}, {89, Cifras(total, 10)}, {105, Cifras(recibos, 10)},
                                       {115, Cifras(recibos + 4, 10)}}));
    return csb::Fichero(l);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    entorno::Programa programa;
    const int recibos = 100000;
    const std::string ruta = programa.dir().file("grande.csb");
    testutil::writeFile(ruta, Fichero(recibos));

    QElapsedTimer reloj;
    reloj.start();
    IndiceCSB indice;
    const bool correcto = LeeIndiceCSB(ruta, indice);
    std::printf("check and index of %d bills: %lld ms (%s)\n", recibos, reloj.elapsed(), correcto ? "ok" : "fault");

    auto *visor = new TFRMHistoricos;
    App().FRMHistoricos = visor;
    App().FRMOpcion = new TFRMOpcion(visor);
    visor->SetFichero(ruta);
    reloj.restart();
    visor->show();
    visor->TREEHistor->setCurrentItem(visor->TREEHistor->topLevelItem(0)->child(0));
    QApplication::processEvents();
    std::printf("viewer opened on the issuer's %d bills: %lld ms\n", visor->Modelo->rowCount(), reloj.elapsed());
    reloj.restart();
    visor->LSTHistorColumnClick(3);
    QApplication::processEvents();
    std::printf("sorted by amount: %lld ms\n", reloj.elapsed());
    delete visor;
    return correcto ? 0 : 1;
}
