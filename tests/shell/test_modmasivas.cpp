// The main window's mass modifications and quick batch entry on the real database, their
// dialogs driven offscreen, with a running copy in another process as the other user.
#include "rejillas.h"

#include "Altarapida.h"
#include "Aplicacion.h"
#include "General.h"
#include "Frmchoosemodmasivas.h"
#include "Frmmmconceptos.h"
#include "Frmmmdato.h"
#include "Frmmsg.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "basedatos.h"
#include "copias.h"
#include "entorno.h"
#include "ventanas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using rejillas::RespondeMensajes;
using rejillas::Texto;

std::string TextoTabla(int n)
{
    return Idioma.GetTexto(n);
}

// Types the value into the value dialog and presses OK.
void Escribe(TFormMMDato *dialogo, const QString &valor)
{
    Teclea(dialogo->EdDato, valor);
    dialogo->BtnAceptar->click();
}

std::vector<QString> Elementos(const QComboBox *lista)
{
    std::vector<QString> r;
    for (int i = 0; i < lista->count(); ++i)
        r.push_back(lista->itemText(i));
    return r;
}

class ModMasivas : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        copia = std::make_unique<copias::Copia>(carpeta.BD());
        ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("pasada");
    }

    // The batch's bills 1 .. n marked in the bills grid.
    void Marca(int remesa, int n)
    {
        Selecciona(ArbolRemesa, remesa);
        ClicRecibo(1);
        ClicRecibo(n, Qt::ShiftModifier);
        ASSERT_EQ(int(Marcadas().size()), n);
    }

    // What each kind button of the chooser allows, with the chooser cancelled.
    std::vector<bool> Selector()
    {
        std::vector<bool> estados;
        AlMostrarse<TFRMModMasivas>([&estados](TFRMModMasivas *s) {
            for (QPushButton *b : {s->BTNImportes, s->BTNConceptos, s->BTNCodDevol, s->BTNRefInterna, s->BTNFechaVenc})
                estados.push_back(b->isEnabled());
            s->BTNCancelar->click();
        });
        m->cbtModMasivas->trigger();
        return estados;
    }

    static std::string Campo(int id, const std::string &columna)
    {
        return arranque::Valor("SELECT " + columna + " AS V FROM [Documentos()] WHERE Id_documento=" +
                                   std::to_string(id),
                               "V");
    }

    std::unique_ptr<copias::Copia> copia;
};

TEST_F(ModMasivas, ElSelectorSigueAlMenu)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 2)));
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(2, 2)));
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(3, 2, 3, 1)));
    // Batch 1: CSB19 with issue; batch 2: CSB19 without; batch 3: CSB58 without.
    const std::pair<int, std::vector<bool>> casos[] = {
        {1, {true, true, true, true, false}},
        {2, {true, false, true, true, false}},
        {3, {true, false, true, true, true}},
    };
    for (const auto &[remesa, esperado] : casos) {
        Marca(remesa, 1);
        ASSERT_TRUE(m->cbtModMasivas->isEnabled());
        EXPECT_EQ(Selector(), esperado) << "batch " << remesa;
        EXPECT_EQ(m->mainMenuModificacionConceptos->isEnabled(), esperado[1]);
        EXPECT_EQ(m->mainMenuModificacionFVencimiento->isEnabled(), esperado[4]);
    }
}

TEST_F(ModMasivas, ImportesPorElSelectorConUnRechazoAntes)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 3)));
    Marca(1, 3);
    Respondedor<TFRMModMasivas> selector([](TFRMModMasivas *s) { s->BTNImportes->click(); });
    int veces = 0;
    RespondeCadaVez<TFormMMDato> dato([&veces](TFormMMDato *d) {
        EXPECT_EQ(d->LbTitulo->text(), cp1252::toQString(TextoTabla(384)));
        Escribe(d, ++veces == 1 ? QStringLiteral("-250") : QStringLiteral("+10%"));
    });
    RespondeMensajes mensajes; // none expected
    RespondeCajas cajas;
    m->cbtModMasivas->trigger();
    EXPECT_EQ(veces, 2) << "the dialog comes back after the refusal";
    ASSERT_EQ(cajas.Vistas.size(), 1u) << "shown once";
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto),
              TextoTabla(424) + "\n\n" + TextoTabla(174) + "\xC1lvarez\n" + TextoTabla(773) + "R1")
        << "the first bill refused named, as the send file names one";
    EXPECT_EQ(cajas.Vistas[0].botones, std::vector<QString>{cp1252::toQString(TextoTabla(2))});
    EXPECT_TRUE(mensajes.Textos.empty());
    EXPECT_EQ(Campo(1, "Importe"), "1.1");
    EXPECT_EQ(Campo(3, "Importe"), "3.3");
    EXPECT_EQ(Campo(3, "Contravalor"), "549"); // 3.30 x 166.386
    EXPECT_EQ(arranque::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=1", "Importe_total"), "6.6");
    EXPECT_NE(copia->Pide("pasada").find(":3:1;"), std::string::npos);
}

TEST_F(ModMasivas, RecibosRetenidosYNoNadaCambia)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 3)));
    Marca(1, 3);
    ASSERT_EQ(copia->Pide("bloquea documento 2 0"), "1");
    RespondeCadaVez<TFormMMDato> dato([](TFormMMDato *d) { Escribe(d, QStringLiteral("REF")); });
    {
        RespondeCajas no({QMessageBox::No});
        m->mainMenuModificacionRefInterna->trigger();
        ASSERT_EQ(no.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(no.Vistas[0].texto), TextoTabla(637));
    }
    for (int id : {1, 2, 3})
        EXPECT_EQ(Campo(id, "Ref_interna"), "NULL") << id;

    RespondeCajas si({QMessageBox::Yes});
    m->mainMenuModificacionCDevolucion->trigger();
    EXPECT_EQ(Campo(1, "Cod_devolucion"), "REF");
    EXPECT_EQ(Campo(2, "Cod_devolucion"), "NULL") << "the held bill is skipped";
}

TEST_F(ModMasivas, FechaImposibleYFechaBuena)
{
    entorno::Regional espana(true);
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(3, 2, 3, 1)));
    Marca(3, 2);
    m->mainMenuModificacionesMasivasClick();
    ASSERT_TRUE(m->mainMenuModificacionFVencimiento->isEnabled());
    std::vector<bool> abierto;
    RespondeCadaVez<TFormMMDato> dato([&abierto](TFormMMDato *d) {
        // An impossible date, then one whose year the bank file's two digits cannot carry.
        for (const char *rechazada : {"31/02/2001", "20/01/0027"}) {
            Escribe(d, QString::fromLatin1(rechazada));
            abierto.push_back(d->isVisible());
            d->EdDato->clear();
        }
        Escribe(d, QStringLiteral("30/06/2031"));
    });
    RespondeCajas cajas;
    m->mainMenuModificacionFVencimiento->trigger();
    ASSERT_EQ(cajas.Vistas.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[i].texto),
                  i == 0 ? TextoTabla(315) : FormateaTexto(TextoTabla(825), 1970, 2069));
        EXPECT_EQ(cajas.Vistas[i].botones, std::vector<QString>{cp1252::toQString(TextoTabla(2))});
    }
    EXPECT_EQ(abierto, (std::vector<bool>{true, true}));
    EXPECT_EQ(Campo(1, "F_vencimiento"), "31 06 30");
    EXPECT_EQ(Campo(2, "F_vencimiento"), "31 06 30");
}

TEST_F(ModMasivas, ConceptosDesdeSuDialogo)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 1)));
    Marca(1, 1);
    m->mainMenuModificacionesMasivasClick();
    ASSERT_TRUE(m->mainMenuModificacionConceptos->isEnabled());
    AlMostrarse<TFormMMConceptos>([](TFormMMConceptos *c) {
        Teclea(c->Edit[1], QStringLiteral("Cuota de enero"));
        c->BtnAceptar->click();
    });
    m->mainMenuModificacionConceptos->trigger();
    const std::string concepto = ConceptoCompleto(
        arranque::Valor("SELECT Concepto FROM [Conceptos()] INNER JOIN [Documentos()] ON "
                        "[Conceptos()].Id_concepto=[Documentos()].Id_concepto WHERE Id_documento=1",
                        "Concepto"));
    ASSERT_EQ(concepto.size(), 640u);
    EXPECT_EQ(concepto.substr(0, 54), std::string(40, ' ') + "Cuota de enero");
}

// ---- Quick batch entry ----

TEST_F(ModMasivas, AltaRapidaDeUnaRemesa)
{
    ASSERT_TRUE(m->cbtAltaRapida->isEnabled());
    AlMostrarse<TFRMAltaRapida>([](TFRMAltaRapida *a) {
        EXPECT_EQ(Elementos(a->CBoxPresentador), std::vector<QString>{QStringLiteral("Norte")});
        EXPECT_EQ(Elementos(a->CBoxEmisores), std::vector<QString>{QStringLiteral("Emisor A")});
        EXPECT_EQ(Elementos(a->CBoxPlantilla), (std::vector<QString>{QStringLiteral("Sin plantilla")}));
        a->RButtomCSB58->click();
        EXPECT_EQ(Elementos(a->CBoxPresentador), std::vector<QString>{QStringLiteral("Sur")});
        EXPECT_TRUE(a->CheckBoxEmisionRecibo->isChecked());
        EXPECT_FALSE(a->CheckBoxEmisionRecibo->isEnabled());
        a->RButtomCSB19->click();
        EXPECT_TRUE(a->CheckBoxEmisionRecibo->isEnabled());
        EXPECT_TRUE(a->CheckBoxEmisionRecibo->isChecked());
        {
            RespondeCajas cajas;
            a->BottomAceptar->click();
            ASSERT_EQ(cajas.Vistas.size(), 1u);
            EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), TextoTabla(597) + TextoTabla(188) + " ,");
            EXPECT_TRUE(a->isVisible());
        }
        Teclea(a->TxtDescripcion, QStringLiteral("Cuotas de O'Neil"));
        EXPECT_EQ(Elementos(a->CBoxMoneda), (std::vector<QString>{QStringLiteral("Euros"), QStringLiteral("Pesetas")}));
        a->CBoxMoneda->setCurrentIndex(1);
        a->BottomAceptar->click();
    });
    m->cbtAltaRapida->trigger();
    const int id = GetUltimaRemesa();
    ASSERT_GT(id, 3);
    const basedatos::Result r =
        basedatos::query("SELECT * FROM [Remesas()] WHERE Id_remesa=" + std::to_string(id));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(basedatos::field(r.rows[0], "Descripcion"), "Cuotas de O'Neil");
    EXPECT_EQ(basedatos::field(r.rows[0], "Id_emisor"), "1");
    EXPECT_EQ(basedatos::field(r.rows[0], "Id_moneda"), "ESP");
    EXPECT_EQ(basedatos::field(r.rows[0], "Id_plantilla"), "NULL");
    EXPECT_EQ(basedatos::field(r.rows[0], "Con_emision"), "TRUE");
    EXPECT_EQ(basedatos::field(r.rows[0], "Importe_total"), "0");
    EXPECT_EQ(basedatos::field(r.rows[0], "Block"), "0");
    QTreeWidgetItem *nodo = m->NodoSeleccionado();
    ASSERT_NE(nodo, nullptr);
    EXPECT_EQ(TFormMain::GetNivelNodo(nodo), int(ArbolEmisor));
    EXPECT_EQ(TFormMain::IdNodo(nodo), "1");
    ASSERT_NE(Nodo(ArbolRemesa, id), nullptr) << "the new batch is in the tree";
    EXPECT_NE(copia->Pide("pasada").find(":2:1;"), std::string::npos);
}

TEST_F(ModMasivas, AltaRapidaConPlantillaYSinPresentadores)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Plantillas( Datos )] (Id_plantilla,Nombre) VALUES (7,'Cuotas')"));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Presentadores( Datos )] SET Id_orden='CSB19' WHERE Id_presentador=2"));
    AlMostrarse<TFRMAltaRapida>([](TFRMAltaRapida *a) {
        a->RButtomCSB58->click();
        EXPECT_EQ(a->CBoxPresentador->count(), 0);
        Teclea(a->TxtDescripcion, QStringLiteral("Nada"));
        {
            RespondeCajas cajas;
            a->BottomAceptar->click();
            ASSERT_EQ(cajas.Vistas.size(), 1u);
            EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), TextoTabla(598));
        }
        a->RButtomCSB19->click();
        EXPECT_EQ(a->CBoxPresentador->count(), 2);
        a->CBoxPlantilla->setCurrentIndex(1);
        Teclea(a->TxtDescripcion, QStringLiteral("Con plantilla"));
        a->BottomAceptar->click();
    });
    m->cbtAltaRapida->trigger();
    const std::string id = std::to_string(GetUltimaRemesa());
    EXPECT_EQ(arranque::Valor("SELECT Id_plantilla FROM [Remesas()] WHERE Id_remesa=" + id, "Id_plantilla"), "7");
    EXPECT_EQ(arranque::Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=" + id, "Id_moneda"), "EUR")
        << "a new batch in euros";
}

TEST_F(ModMasivas, AltaRapidaSinEmisionNoGuardaPlantilla)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Plantillas( Datos )] (Id_plantilla,Nombre) VALUES (7,'Cuotas')"));
    const struct {
        bool emision;
        const char *conEmision, *plantilla;
    } casos[] = {{true, "TRUE", "7"}, {false, "FALSE", "NULL"}};
    for (const auto &c : casos) {
        AlMostrarse<TFRMAltaRapida>([&c](TFRMAltaRapida *a) {
            a->CheckBoxEmisionRecibo->setChecked(false);
            a->CheckBoxEmisionRecibo->click();
            a->CBoxPlantilla->setCurrentIndex(1);
            if (!c.emision)
                a->CheckBoxEmisionRecibo->click(); // the template chosen stays selected
            EXPECT_EQ(a->GBoxPlantilla->isEnabled(), c.emision);
            Teclea(a->TxtDescripcion, QStringLiteral("Cuotas"));
            a->BottomAceptar->click();
        });
        m->cbtAltaRapida->trigger();
        const std::string fila = "FROM [Remesas()] WHERE Id_remesa=" + std::to_string(GetUltimaRemesa());
        EXPECT_EQ(arranque::Valor("SELECT Con_emision " + fila, "Con_emision"), c.conEmision);
        EXPECT_EQ(arranque::Valor("SELECT Id_plantilla " + fila, "Id_plantilla"), c.plantilla);
    }
}

} // namespace
