// The batch history command of the main window and the history list on the real encrypted
// database: order and day filter, opening a copy in the viewer, and the deletes that keep
// what other rows still name, with a running copy in another process as the other user.
#include "rejillas.h"

#include "../bankfiles/csb.h"
#include "Aplicacion.h"
#include "Cajafecha.h"
#include "General.h"
#include "Multiidioma.h"
#include "Unirelacion.h"
#include "Unithistoricos.h"
#include "copias.h"
#include "ventanas.h"

#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

namespace {

using csb::Registro;

// A well formed CSB19 file of one bill.
std::string FicheroCSB(const std::string &presentador)
{
    const std::string total = "0000000100";
    return csb::Fichero({Registro("5180", {{5, "B11111111000"}, {17, "200224"}, {29, presentador}}),
                         Registro("5380", {{5, "A11111111000"}, {23, "230224"}, {29, "Emisor A"}, {97, "01"}}),
                         Registro("5680", {{5, "A11111111000"}, {17, "R1"}, {29, "Alvarez"}, {89, total}}),
                         Registro("5880", {{89, total}, {105, "0000000001"}, {115, "0000000003"}}),
                         Registro("5980", {{69, "0001"}, {89, total}, {105, "0000000001"}, {115, "0000000005"}})});
}

class Historicos : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        std::filesystem::create_directories(carpeta.Ruta("HISTORICO"));
        // Batch 2 generated three times, twice on one day; the last send file also held
        // batch 1, so its copy is named twice.
        const struct {
            int id, remesa;
            const char *fichero, *fecha;
        } filas[] = {{1, 2, "hst200224.csb", "2024/02/20"},
                     {2, 2, "hst2102241.csb", "2024/02/21"},
                     {3, 2, "hst2102242.csb", "2024/02/21"},
                     {4, 1, "hst2102242.csb", "2024/02/21"}};
        for (const auto &f : filas) {
            const std::string ruta = carpeta.Ruta(std::string("HISTORICO/") + f.fichero);
            testutil::writeFile(ruta, FicheroCSB(f.fichero));
            ASSERT_TRUE(arranque::Ejecuta(
                "INSERT INTO [Historicos( Remesas )] (Id_historico,Id_remesa,Descripcion,F_generacion) VALUES (" +
                std::to_string(f.id) + "," + std::to_string(f.remesa) + ",'" + ruta + "','" + f.fecha + "')"));
        }
        ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET F_generacion='2024/02/21' WHERE Id_remesa=1"));
        Selecciona(ArbolEmisor, 1);
        relacion = App().FRMRelacion;
        ASSERT_NE(relacion, nullptr);
    }

    std::string Ruta(const char *fichero) const { return carpeta.Ruta(std::string("HISTORICO/") + fichero); }

    // The batches grid row (0-based) of the batch.
    int Fila(int remesa) const
    {
        for (int f = 0; f < m->lstGridRemesas->rowCount(); ++f)
            if (m->lstGridRemesas->item(f, 0) && m->lstGridRemesas->item(f, 0)->text() == QString::number(remesa))
                return f;
        return -1;
    }

    // Runs the history command on the batch with accion on the list when it shows; false
    // when it did not show.
    bool ConRelacion(int remesa, const std::function<void(TFRMRelacion *)> &accion)
    {
        m->lstGridRemesas->setCurrentCell(Fila(remesa), 3);
        bool mostrada = false;
        AlMostrarse<TFRMRelacion>([&](TFRMRelacion *r) {
            mostrada = true;
            accion(r);
            r->reject();
        });
        m->cbtHistorico->trigger();
        return mostrada;
    }

    static std::vector<std::string> Archivos(const TFRMRelacion *r)
    {
        std::vector<std::string> archivos;
        for (int i = 0; i < r->LSTCsbs->topLevelItemCount(); ++i)
            archivos.push_back(std::filesystem::path(r->LSTCsbs->topLevelItem(i)->text(0).toStdString()).filename());
        return archivos;
    }

    static void Elige(TFRMRelacion *r, int fila) { r->LSTCsbs->setCurrentItem(r->LSTCsbs->topLevelItem(fila)); }

    static void Filtra(TFRMRelacion *r, QDate desde, QDate hasta)
    {
        r->RBFechas->click();
        r->Date1->setDate(desde);
        r->Date2->setDate(hasta);
        r->BTNActualizar->click();
    }

    std::string Generacion(int remesa) const
    {
        return arranque::Valor("SELECT F_generacion FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa),
                               "F_generacion");
    }

    TFRMRelacion *relacion = nullptr;
};

TEST_F(Historicos, ListsInOrderFiltersByDayAndOpensTheViewer)
{
    const bool mostrada = ConRelacion(2, [&](TFRMRelacion *r) {
        EXPECT_EQ(r->windowTitle(), cp1252::toQString("Relaci\xF3n de Hist\xF3ricos ") +
                                        Nodo(ArbolPresentador, 1)->text(0))
            << "the caption names the selected node's parent";
        EXPECT_EQ(Archivos(r), (std::vector<std::string>{"hst200224.csb", "hst2102241.csb", "hst2102242.csb"}))
            << "by day, and in generation order within a day";
        EXPECT_EQ(r->LSTCsbs->topLevelItem(0)->text(1), cp1252::toQString(FechaUsuario(QDate(2024, 2, 20))));
        EXPECT_TRUE(r->LSTCsbs->isColumnHidden(2));
        EXPECT_FALSE(r->BTNVisualizar->isEnabled());
        EXPECT_FALSE(r->BTNActualizar->isEnabled());

        Filtra(r, QDate(2024, 2, 21), QDate(2024, 2, 21));
        EXPECT_EQ(Archivos(r), (std::vector<std::string>{"hst2102241.csb", "hst2102242.csb"})) << "one day";
        Filtra(r, QDate(2024, 2, 19), QDate(2024, 2, 20));
        EXPECT_EQ(Archivos(r), std::vector<std::string>{"hst200224.csb"}) << "both ends included";
        r->RBTodos->click();
        EXPECT_EQ(Archivos(r).size(), 3u);

        Elige(r, 1);
        EXPECT_TRUE(r->BTNVisualizar->isEnabled());
        QString raiz;
        AlMostrarse<TFRMHistoricos>([&](TFRMHistoricos *visor) {
            if (visor->TREEHistor->topLevelItem(0))
                raiz = visor->TREEHistor->topLevelItem(0)->text(0).trimmed();
            visor->SpeedButton1->click();
        });
        r->BTNVisualizar->click();
        EXPECT_EQ(raiz, QStringLiteral("hst2102241.csb")) << "the viewer showed the chosen copy";
        EXPECT_EQ(Archivos(r).size(), 3u) << "coming back from the viewer keeps the list";
        EXPECT_FALSE(r->Cambiado);
    });
    EXPECT_TRUE(mostrada);
}

TEST_F(Historicos, DeletesKeepWhatOtherRowsNameAndTheLastClearsTheGeneration)
{
    auto otra = std::make_unique<copias::Copia>(carpeta.BD());
    ASSERT_EQ(otra->Pide("registra").substr(0, 1), "1");
    otra->Pide("pasada");
    BorraFichero(Ruta("hst2102241.csb"));
    RespondeCajas cajas({QMessageBox::Yes});
    const bool mostrada = ConRelacion(2, [&](TFRMRelacion *r) {
        Elige(r, 1);
        r->BTNVisualizar->click();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto),
                  Idioma.GetTexto(67) + "\n\n" + Idioma.GetTexto(812) + "\n" + Ruta("hst2102241.csb"));
        EXPECT_EQ(Archivos(r), (std::vector<std::string>{"hst200224.csb", "hst2102242.csb"}))
            << "a missing copy: Yes removes only its row";
        EXPECT_FALSE(r->Cambiado);

        Filtra(r, QDate(2024, 2, 21), QDate(2024, 2, 21));
        Elige(r, 0);
        r->BTNBorrarHistoricos->click();
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas.back().texto), Idioma.GetTexto(575));
        EXPECT_TRUE(Archivos(r).empty());
        EXPECT_TRUE(std::filesystem::exists(Ruta("hst2102242.csb"))) << "batch 1 still names the copy";
        EXPECT_FALSE(r->Cambiado) << "the filtered list is empty, the batch is not";
        EXPECT_NE(Generacion(2), "NULL");

        r->RBTodos->click();
        Elige(r, 0);
        r->BTNBorrarHistoricos->click();
        EXPECT_TRUE(Archivos(r).empty());
        EXPECT_FALSE(std::filesystem::exists(Ruta("hst200224.csb")));
        EXPECT_TRUE(r->Cambiado);
        EXPECT_EQ(Generacion(2), "NULL");
    });
    ASSERT_TRUE(mostrada);
    EXPECT_EQ(m->lstGridRemesas->item(Fila(2), 2)->text(), QStringLiteral("NULL"));
    EXPECT_EQ(arranque::Valor("SELECT COUNT(*) AS N FROM [Historicos( Remesas )]", "N"), "1");
    EXPECT_NE(otra->Pide("pasada").find(":2:1;"), std::string::npos) << "the notice for the issuer";

    cajas.Vistas.clear();
    m->lstGridRemesas->setCurrentCell(Fila(2), 3);
    m->cbtHistorico->trigger();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(198));

    // Batch 1 through a double click on its generation date: its row was the copy's last.
    bool mostrada1 = false;
    AlMostrarse<TFRMRelacion>([&](TFRMRelacion *r) {
        mostrada1 = true;
        Elige(r, 0);
        r->BTNBorrarHistoricos->click();
        r->reject();
    });
    const QRect celda = m->lstGridRemesas->visualItemRect(m->lstGridRemesas->item(Fila(1), 2));
    QTest::mouseDClick(m->lstGridRemesas->viewport(), Qt::LeftButton, {}, celda.center());
    ASSERT_TRUE(mostrada1);
    EXPECT_FALSE(std::filesystem::exists(Ruta("hst2102242.csb")));
    EXPECT_EQ(m->lstGridRemesas->item(Fila(1), 2)->text(), QStringLiteral("NULL"));
}

TEST_F(Historicos, ADeleteThatRemovesNoRowKeepsTheRowAndTheFile)
{
    RespondeCajas cajas({QMessageBox::Yes, QMessageBox::Ok});
    ConRelacion(2, [&](TFRMRelacion *r) {
        ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Historicos( Remesas )] WHERE Id_historico=1"));
        Elige(r, 0);
        r->BTNBorrarHistoricos->click();
        ASSERT_EQ(cajas.Vistas.size(), 2u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[1].texto), Idioma.GetTexto(994));
        EXPECT_EQ(Archivos(r).size(), 3u);
        EXPECT_TRUE(std::filesystem::exists(Ruta("hst200224.csb")));
        EXPECT_FALSE(r->Cambiado);
    });
    EXPECT_NE(Generacion(2), "NULL");
}

// Rows written before the folder was moved or copied name the old one, in whatever form;
// the copy is found in this folder's history by its name. One found nowhere stays listed on
// Return, the question's default. The list holds its batch until it closes.
TEST_F(Historicos, CopiesOfAMovedFolderAreFoundOnlyYesRemovesAMissingOneAndClosingReleasesTheBatch)
{
    const char *const antes[] = {"/antes/HISTORICO/", "HISTORICO/", "C:\\Orvanta\\HISTORICO\\"};
    for (int id = 1; id <= 3; ++id)
        ASSERT_TRUE(arranque::Ejecuta("UPDATE [Historicos( Remesas )] SET Descripcion=replace(Descripcion,'" + Ruta("") +
                                      "','" + antes[id - 1] + "') WHERE Id_historico=" + std::to_string(id)));
    const std::string block = "SELECT Block FROM [Remesas()] WHERE Id_remesa=2";
    std::string durante;
    std::vector<std::string> vistos;
    RespondeCajas cajas({QMessageBox::NoButton});
    ConRelacion(2, [&](TFRMRelacion *r) {
        durante = arranque::Valor(block, "Block");
        for (int fila = 0; fila < 3; ++fila) {
            AlMostrarse<TFRMHistoricos>([&vistos](TFRMHistoricos *h) {
                vistos.push_back(h->Fichero());
                QTest::keyClick(h, Qt::Key_Escape);
            });
            Elige(r, fila);
            QTest::keyClick(r->LSTCsbs, Qt::Key_Return);
        }
        BorraFichero(Ruta("hst2102241.csb"));
        Elige(r, 1);
        QTest::keyClick(r->LSTCsbs, Qt::Key_Return);
        QTest::keyClick(r->LSTCsbs, Qt::Key_Escape);
    });
    EXPECT_EQ(vistos,
              (std::vector<std::string>{Ruta("hst200224.csb"), Ruta("hst2102241.csb"), Ruta("hst2102242.csb")}));
    EXPECT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(arranque::Valor("SELECT COUNT(*) AS N FROM [Historicos( Remesas )]", "N"), "4");
    EXPECT_EQ(durante + arranque::Valor(block, "Block"), "10") << "held while shown, released on Escape";
}

} // namespace
