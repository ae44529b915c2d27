// The concept-template designer and its save-as dialog, driven offscreen on the shipped
// database with the build's items plug-in, with a running copy in another process as the
// other user.
#include "Frmplantillas.h"

#include "Frmmsg.h"
#include "Guardarcomo.h"
#include "Propiedades.h"
#include "Trejilla.h"
#include "basedatos.h"
#include "elementos.h"
#include "entorno.h"
#include "recibos.h"
#include "vars.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <utility>

namespace {

using recibos::Texto;

// Answers every message dialog (TFormMsg) with its first button, or with the second where
// aceptar says false (the last answer again when they run out); keeps title and text.
class RespondeMsg {
public:
    explicit RespondeMsg(std::vector<bool> aceptar = {true})
        : m_aceptar(std::move(aceptar)), m_respondedor([this](TFormMsg *f) {
              Vistos.emplace_back(f->LblTitulo->text(), f->LblText->text());
              const bool si = m_aceptar[std::min(Vistos.size(), m_aceptar.size()) - 1];
              (si || !f->BtnCancel->isVisible() ? f->BtnOk : f->BtnCancel)->click();
          })
    {
    }
    std::vector<std::pair<QString, QString>> Vistos; // title, text

private:
    std::vector<bool> m_aceptar;
    Respondedor<TFormMsg> m_respondedor;
};

// Types texto into the value of row fila of the property sheet.
void Escribe(TFormProps *hoja, int fila, const QString &texto)
{
    hoja->SG->setCurrentCell(fila, 1);
    if (!hoja->SG->indexWidget(hoja->SG->currentIndex()))
        hoja->SG->editItem(hoja->SG->item(fila, 1));
    auto *editor = qobject_cast<QLineEdit *>(hoja->SG->indexWidget(hoja->SG->currentIndex()));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    if (texto.isEmpty())
        QTest::keyClick(editor, Qt::Key_Backspace);
    Teclea(editor, texto);
}

using Filas = std::vector<std::pair<int, QString>>; // property row, value

int Cuenta(const std::string &tabla, int id)
{
    return std::stoi(copias::Valor("SELECT COUNT(*) AS N FROM [" + tabla + "] WHERE Id_plantilla=" +
                                       std::to_string(id),
                                   "N"));
}

class Disenador : public recibos::Organizacion {
protected:
    void SetUp() override
    {
        recibos::Organizacion::SetUp();
        App().FormProps = &hoja;
        App().FRMGuardarComo = &guardar;
        Abre();
    }
    void TearDown() override
    {
        ventana.reset();
        App().FormProps = nullptr;
        App().FRMGuardarComo = nullptr;
        recibos::Organizacion::TearDown();
    }

    void Abre()
    {
        ventana = std::make_unique<TFormPlantillas>();
        ASSERT_TRUE(Activa(ventana.get()));
    }

    QToolButton *Boton(const char *tipo) const { return ventana->BotonesTipo.at(size_t(PlTipoItemByName(tipo))); }

    // Clicks the centre of the cell.
    void Clic(int x, int y, bool doble = false) const
    {
        TRejilla *r = ventana->Rejilla;
        int px = 0, py = 0;
        r->CellToPoint(x, y, &py, &px);
        const QPoint punto(px + r->GetCellWidth() / 2, py + r->GetCellHeight() / 2);
        QTest::mouseMove(r, punto);
        if (doble)
            QTest::mouseDClick(r, Qt::LeftButton, {}, punto);
        else
            QTest::mouseClick(r, Qt::LeftButton, {}, punto);
    }

    // A new item of the type, its sheet filled and accepted, placed at the cell.
    void Coloca(const char *tipo, int x, int y, const Filas &filas = {})
    {
        AlMostrarse<TFormProps>([&filas](TFormProps *h) {
            for (const auto &[fila, texto] : filas)
                Escribe(h, fila, texto);
            h->BtnAceptar->click();
        });
        Boton(tipo)->click();
        ASSERT_TRUE(ventana->Colocando());
        Clic(x, y);
    }

    void Nombra(const QString &nombre) const
    {
        QLineEdit *caja = ventana->CBNombre->lineEdit();
        caja->setFocus();
        caja->selectAll();
        Teclea(caja, nombre);
    }

    // Grabar, answered Yes.
    void Graba() const
    {
        RespondeCajas si({QMessageBox::Yes});
        ventana->BtnGrabar->click();
    }

    // The items of the open template as text forms.
    std::vector<std::string> Items() const
    {
        std::vector<std::string> textos;
        const Plantilla &p = ventana->Actual();
        for (size_t i = 0; i < p.stkItems.used; ++i) {
            const B_AStr_t *item = static_cast<B_AStr_t *const *>(p.stkItems.data)[i];
            std::string texto(item->uUsed + 2, '\0');
            VarStr(item, texto.data(), texto.size());
            for (char &c : texto)
                if (c == '\0')
                    c = '|';
            textos.push_back(texto);
        }
        return textos;
    }

    int Ultima() const { return std::stoi(copias::Valor("SELECT MAX(Id_plantilla) AS N FROM [Plantillas( Datos )]", "N")); }

    std::string Bloqueo(int id) const
    {
        return copias::Valor("SELECT Block FROM [Plantillas( Datos )] WHERE Id_plantilla=" + std::to_string(id), "Block");
    }

    entorno::Regional coma{true};
    elementos::Tipos tipos;
    TFormProps hoja;
    TFRMGuardarComo guardar;
    std::unique_ptr<TFormPlantillas> ventana;
};

TEST_F(Disenador, ATemplateDesignedIsStoredWholeAndReadsBackIdentical)
{
    EXPECT_EQ(cp1252::fromQString(ventana->windowTitle()), Idioma.GetTexto(337));
    EXPECT_EQ(ventana->BotonesTipo.size(), 4u);
    EXPECT_EQ(ventana->CBNombre->count(), 1) << "the stored template of the base";
    Coloca("Etiqueta", 0, 0, {{3, QStringLiteral("Cuota d'Enero & =")}});
    Coloca("Importe", 10, 2);
    Coloca("Total", 30, 2, {{3, QStringLiteral("si")}, {4, QStringLiteral("Importe1")}});
    Nombra(QStringLiteral("Cuotas"));
    EXPECT_EQ(cp1252::fromQString(ventana->LblCoord->text()), "X:30 - Y:02");
    const std::vector<std::string> hechos = Items();
    ASSERT_EQ(hechos.size(), 3u);
    EXPECT_NE(hechos[0].find("Texto=Cuota d'Enero & =|"), std::string::npos);
    EXPECT_TRUE(ventana->Modificada());
    {
        RespondeMsg ninguno;
        Graba();
        EXPECT_TRUE(ninguno.Vistos.empty());
    }
    const int id = Ultima();
    EXPECT_FALSE(ventana->Modificada());
    EXPECT_EQ(ventana->Bloqueada(), id) << "the window takes the lock again after the save";
    EXPECT_EQ(Bloqueo(id), "1");
    EXPECT_EQ(copias::Valor("SELECT Nombre FROM [Plantillas( Datos )] WHERE Id_plantilla=" + std::to_string(id),
                            "Nombre"),
              "Cuotas");
    const std::vector<std::string> filas =
        copias::Filas("SELECT Datos FROM [Plantillas( Elementos )] WHERE Id_plantilla=" + std::to_string(id));
    ASSERT_EQ(filas.size(), 3u);
    for (const std::string &fila : filas) {
        const std::string datos = basedatos::field(fila, "Datos");
        ASSERT_FALSE(datos.empty());
        EXPECT_EQ(datos.back(), '\xB7') << datos;
        size_t entradas = 0;
        for (size_t i = 0, fin; (fin = datos.find('\xB7', i)) != std::string::npos; i = fin + 1, ++entradas)
            EXPECT_NE(datos.substr(i, fin - i).find('='), std::string::npos) << "every entry is name=value: " << datos;
        EXPECT_GE(entradas, 4u);
    }
    EXPECT_NE(basedatos::field(filas[0], "Datos").find("Cuota d'Enero & ="), std::string::npos) << "the quote kept";

    // Read back in another window once this one has gone.
    ventana.reset();
    EXPECT_EQ(Bloqueo(id), "0") << "closing releases the lock";
    Abre();
    ASSERT_EQ(ventana->CBNombre->count(), 2);
    ventana->CBNombreChange(1);
    EXPECT_EQ(ventana->Bloqueada(), id);
    EXPECT_EQ(Items(), hechos);
    EXPECT_EQ(ventana->CBNombre->currentText(), QStringLiteral("Cuotas"));
    EXPECT_FALSE(ventana->Modificada());
}

TEST_F(Disenador, SavingRefusesWhatCouldNotBeUsedAndSavesWithoutTotalWhenTold)
{
    const auto grabaCon = [this](std::vector<bool> respuestas) {
        RespondeMsg msg(std::move(respuestas));
        Graba();
        return msg.Vistos;
    };
    Coloca("Importe", 0, 0);
    auto vistos = grabaCon({true});
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(vistos[0], std::make_pair(Texto(14), Texto(208))) << "no name";

    Nombra(QStringLiteral("PLANTILLA"));
    vistos = grabaCon({true});
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(vistos[0], std::make_pair(Texto(14), Texto(147))) << "the base's template in other case";

    Nombra(QStringLiteral("Sin total"));
    vistos = grabaCon({false});
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(vistos[0], std::make_pair(Texto(14), Texto(209)));
    EXPECT_EQ(Cuenta("Plantillas( Datos )", 2), 0) << "refused: nothing stored";
    EXPECT_TRUE(ventana->Modificada());
    vistos = grabaCon({true});
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", Ultima()), 1) << "accepted without a total";

    // A new template without items: 220, and closing asks nothing.
    {
        RespondeMsg msg;
        ventana->BtnNueva->click();
        EXPECT_TRUE(msg.Vistos.empty()) << "the saved template leaves without asking";
    }
    Nombra(QStringLiteral("Vac\u00eda"));
    vistos = grabaCon({true});
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(vistos[0], std::make_pair(Texto(14), Texto(220)));
    RespondeMsg cierre;
    ventana->BottomCerrar->click();
    EXPECT_TRUE(cierre.Vistos.empty());
    EXPECT_FALSE(ventana->isVisible());
}

TEST_F(Disenador, PropertiesAreCheckedBeforeAnItemTakesThem)
{
    Coloca("Importe", 0, 0, {{3, QStringLiteral("si")}});
    Coloca("Etiqueta", 0, 1);
    ASSERT_EQ(Items().size(), 2u);
    const struct {
        const char *porque;
        int fila;
        QString valor;
        int texto;
    } casos[] = {
        {"the name of another item", 0, QStringLiteral("importe1"), 216},
        {"refused by the plug-in", 0, QStringLiteral("Con blanco"), 215},
        {"an empty name", 0, QString(), 215},
        {"the stored separator", 3, QStringLiteral("a\u00b7b"), 215},
        {"the label would run past its row", 1, QStringLiteral("75"), 215},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.porque);
        RespondeMsg msg;
        AlMostrarse<TFormProps>([&c](TFormProps *h) {
            Escribe(h, c.fila, c.valor);
            h->SG->setCurrentCell(2, 1); // leaving the row commits it
            h->BtnCancelar->click();
        });
        Clic(0, 1, true);
        ASSERT_EQ(msg.Vistos.size(), 1u);
        EXPECT_EQ(msg.Vistos[0], std::make_pair(Texto(1), Texto(c.texto)));
    }
    // A second total, on a new amount's sheet: refused there; the sheet's OK then takes the
    // item without it.
    RespondeMsg msg;
    AlMostrarse<TFormProps>([](TFormProps *h) {
        Escribe(h, 3, QStringLiteral("SI"));
        h->BtnAceptar->click();
        if (h->isVisible())
            h->BtnCancelar->click();
    });
    Boton("Importe")->click();
    ASSERT_EQ(msg.Vistos.size(), 1u);
    EXPECT_EQ(msg.Vistos[0], std::make_pair(Texto(1), Texto(217)));
    ASSERT_TRUE(ventana->Colocando());
    EXPECT_STREQ(PlItemVar(ventana->Seleccionado(), "Total", ""), "no");
    EXPECT_EQ(Items().size(), 2u);
}

TEST_F(Disenador, ItemsArePlacedAndMovedOnlyWholeInsideThePage)
{
    const auto x = [this] { return std::string(PlItemVar(ventana->Seleccionado(), "X", "")); };
    // An amount is 12 cells wide: at X 75 it would not fit, so the click does nothing.
    Coloca("Importe", 75, 3);
    EXPECT_TRUE(ventana->Colocando());
    EXPECT_EQ(Items().size(), 0u);
    Clic(68, 3);
    ASSERT_FALSE(ventana->Colocando());
    ASSERT_EQ(x(), "68");
    QTest::keyClick(ventana->Rejilla, Qt::Key_Right);
    EXPECT_EQ(x(), "68") << "its right edge is the page's";
    Coloca("Importe", 67, 5);
    QTest::keyClick(ventana->Rejilla, Qt::Key_Right);
    EXPECT_EQ(x(), "68");
    QTest::keyClick(ventana->Rejilla, Qt::Key_Right);
    EXPECT_EQ(x(), "68");
    QTest::keyClick(ventana->Rejilla, Qt::Key_Down);
    QTest::keyClick(ventana->Rejilla, Qt::Key_Down);
    QTest::keyClick(ventana->Rejilla, Qt::Key_Down);
    EXPECT_STREQ(PlItemVar(ventana->Seleccionado(), "Y", ""), "7");

    // In the name box the keys are the box's.
    ventana->CBNombre->lineEdit()->setFocus();
    QTest::keyClick(ventana->CBNombre->lineEdit(), Qt::Key_Left);
    EXPECT_EQ(x(), "68");
    int hojas = 0;
    AlMostrarse<TFormProps>([&hojas](TFormProps *h) {
        ++hojas;
        h->BtnCancelar->click();
    });
    QTest::keyClick(ventana->CBNombre->lineEdit(), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_EQ(hojas, 0);
    ventana->Rejilla->setFocus();
    QTest::keyClick(ventana->Rejilla, Qt::Key_Return);
    EXPECT_EQ(hojas, 1) << "Enter edits the selected item";
    QTest::keyClick(ventana->Rejilla, Qt::Key_Left);
    EXPECT_EQ(x(), "67");
}

TEST_F(Disenador, AnotherCopysTemplateIsNeitherOpenedNorOverwritten)
{
    auto copia = std::make_unique<copias::Copia>(base.Ruta());
    ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
    ASSERT_EQ(copia->Pide("bloquea plantilla 1"), "1");
    {
        RespondeCajas cajas;
        ventana->CBNombreChange(0);
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto, Texto(649));
        EXPECT_EQ(cajas.Vistas[0].titulo, Texto(6));
        EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Critical);
    }
    EXPECT_EQ(ventana->Actual().nId, -1) << "the new template stays";
    EXPECT_EQ(ventana->CBNombre->currentIndex(), -1);
    ASSERT_EQ(copia->Pide("desbloquea plantilla 1"), "1");

    // Saved, but taken by another copy before this window could lock it again (the other
    // copy's lock set from inside the save): the next save is refused and writes nothing.
    ASSERT_TRUE(copias::Ejecuta("CREATE TRIGGER [Toma] AFTER INSERT ON [Plantillas( Elementos )] BEGIN UPDATE "
                                "[Plantillas( Datos )] SET Block=1 WHERE Id_plantilla=NEW.Id_plantilla; END"));
    Coloca("Importe", 0, 0, {{3, QStringLiteral("si")}});
    Nombra(QStringLiteral("Compartida"));
    Graba();
    ASSERT_TRUE(copias::Ejecuta("DROP TRIGGER [Toma]"));
    const int id = Ultima();
    ASSERT_EQ(Cuenta("Plantillas( Elementos )", id), 1);
    EXPECT_EQ(ventana->Bloqueada(), 0);
    Coloca("Importe", 0, 1);
    {
        RespondeCajas cajas({QMessageBox::Yes, QMessageBox::Ok});
        ventana->BtnGrabar->click();
        ASSERT_EQ(cajas.Vistas.size(), 2u);
        EXPECT_EQ(cajas.Vistas[1].texto, Texto(649));
    }
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", id), 1) << "nothing written";
    EXPECT_TRUE(ventana->Modificada()) << "the changes are kept";
    EXPECT_EQ(Items().size(), 2u);
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Plantillas( Datos )] SET Block=0"));
    Graba();
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", id), 2) << "once free, saved once";
    EXPECT_EQ(ventana->Bloqueada(), id);
}

TEST_F(Disenador, LeavingAModifiedTemplateAsksAndCancellingDiscards)
{
    Coloca("Importe", 0, 0, {{3, QStringLiteral("si")}});
    Nombra(QStringLiteral("Descartada"));
    RespondeMsg msg({false});
    ventana->CBNombreChange(0);
    ASSERT_EQ(msg.Vistos.size(), 1u);
    EXPECT_EQ(msg.Vistos[0], std::make_pair(Texto(207), Texto(206)));
    EXPECT_EQ(ventana->Actual().nId, 1) << "the other template opened";
    EXPECT_EQ(Bloqueo(1), "1");
    EXPECT_EQ(copias::Valor("SELECT COUNT(*) AS N FROM [Plantillas( Datos )]", "N"), "1") << "nothing saved";
}

TEST_F(Disenador, ATemplateABatchNamesIsNotDeleted)
{
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Remesas()] SET Id_plantilla=1 WHERE Id_remesa=1"));
    ventana->CBNombreChange(0);
    ASSERT_EQ(ventana->Actual().nId, 1);
    {
        RespondeMsg msg;
        ventana->BtnBorrar->click();
        ASSERT_EQ(msg.Vistos.size(), 2u);
        EXPECT_EQ(msg.Vistos[0], std::make_pair(Texto(37), Texto(210)));
        EXPECT_EQ(msg.Vistos[1], std::make_pair(Texto(211), Texto(212)));
    }
    EXPECT_EQ(Cuenta("Plantillas( Datos )", 1), 1);
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", 1), 2);
    EXPECT_EQ(ventana->Actual().nId, 1) << "it stays open";

    ASSERT_TRUE(copias::Ejecuta("UPDATE [Remesas()] SET Id_plantilla=NULL"));
    RespondeMsg msg;
    ventana->BtnBorrar->click();
    EXPECT_EQ(Cuenta("Plantillas( Datos )", 1), 0);
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", 1), 0);
    EXPECT_EQ(ventana->CBNombre->count(), 0);
    EXPECT_EQ(ventana->Actual().nId, -1);
}

TEST_F(Disenador, SaveAsStoresACopyUnderTheNewName)
{
    Coloca("Importe", 0, 0, {{3, QStringLiteral("si")}});
    Nombra(QStringLiteral("Original"));
    Graba();
    const int original = Ultima();
    AlMostrarse<TFRMGuardarComo>([](TFRMGuardarComo *d) {
        Teclea(d->TxtPlantilla, QStringLiteral("Copia"));
        d->BTNAceptar->click();
    });
    {
        RespondeCajas si({QMessageBox::Yes});
        ventana->BtnGuardarComo->click();
        ASSERT_EQ(si.Vistas.size(), 1u);
        EXPECT_EQ(si.Vistas[0].texto, Texto(219));
    }
    const int copia = Ultima();
    EXPECT_NE(copia, original);
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", original), 1);
    EXPECT_EQ(Cuenta("Plantillas( Elementos )", copia), 1);
    EXPECT_EQ(Bloqueo(original), "0");
    EXPECT_EQ(ventana->Bloqueada(), copia);
    EXPECT_EQ(ventana->CBNombre->currentText(), QStringLiteral("Copia"));

    // Cancel closes the designer.
    AlMostrarse<TFRMGuardarComo>([](TFRMGuardarComo *d) { d->BTNCancelar->click(); });
    ventana->BtnGuardarComo->click();
    EXPECT_FALSE(ventana->isVisible());
}

TEST(Guardarcomo, AnEmptyNameIsRefusedBlanksAndFiftyCharactersAreNames)
{
    TFRMGuardarComo dialogo;
    const struct {
        QString tecleado, nombre;
        int resultado;
    } casos[] = {
        {QString(), QString(), 0},
        {QStringLiteral("   "), QStringLiteral("   "), TFRMGuardarComo::ResultadoAceptar},
        {QString(51, QLatin1Char('n')), QString(50, QLatin1Char('n')), TFRMGuardarComo::ResultadoAceptar},
    };
    for (const auto &c : casos) {
        RespondeCajas cajas;
        AlMostrarse<TFRMGuardarComo>([&c](TFRMGuardarComo *d) {
            EXPECT_TRUE(d->TxtPlantilla->hasFocus());
            EXPECT_TRUE(d->TxtPlantilla->text().isEmpty()) << "emptied on every showing";
            Teclea(d->TxtPlantilla, c.tecleado);
            d->BTNAceptar->click();
            if (d->isVisible())
                d->BTNCancelar->click();
        });
        const int resultado = dialogo.exec();
        if (c.resultado == 0) {
            EXPECT_EQ(resultado, TFRMGuardarComo::ResultadoCancelar);
            ASSERT_EQ(cajas.Vistas.size(), 1u);
            EXPECT_EQ(cajas.Vistas[0].texto, QStringLiteral("La plantilla debe tener un nombre"));
        } else {
            EXPECT_EQ(resultado, c.resultado);
            EXPECT_EQ(dialogo.TxtPlantilla->text(), c.nombre);
            EXPECT_TRUE(cajas.Vistas.empty());
        }
    }
}

} // namespace
