// Row locks and change notices between running copies.
#include "Multiuser.h"
#include "copias.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using copias::Contadores;
using copias::Filas;
using copias::kLibre;
using copias::kRemesa1;
using copias::Valor;

class Bloqueos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        for (auto &m : c) {
            m = std::make_unique<_multiuser>();
            ASSERT_TRUE(m->IniciaMultiusuario());
        }
    }

    copias::Base base;
    std::unique_ptr<_multiuser> c[3]; // three copies, numbers 1 to 3
};

// One step of a copy: its action gives true or false, then the counters read as said
// (user 1, company 1, presenter 1, issuer 1, batch 1, batch 2, drawee 1, bill 1, template
// 1, the sum of its items).
struct Paso {
    int copia;
    std::function<bool(_multiuser &)> accion;
    bool resultado;
    std::vector<int> contadores;
    const char *porque;
};

const std::vector<int> kRemesa1Doble = {2, 2, 2, 2, 2, 0, 0, 0, 0, 0};

const Paso kPasos[] = {
    // Batches.
    {0, [](_multiuser &m) { return m.BloqueaRemesa(1, false); }, true, kRemesa1,
     "an exclusive lock raises the batch, its issuer, presenter, company and user"},
    {0, [](_multiuser &m) { return m.Reg_Remesa == 1 && m.GetBloqueoRemesa(1) == BLOQUEO_PROPIO; }, true, kRemesa1,
     "it becomes this copy's record: state 2"},
    {1, [](_multiuser &m) { return m.GetBloqueoRemesa(1) == BLOQUEO_OTRO && m.GetBloqueoRemesa(2) == BLOQUEO_LIBRE; },
     true, kRemesa1, "for the other copy state 1; a free batch 0"},
    {1, [](_multiuser &m) { return m.BloqueaRemesa(1, false) || m.Reg_Remesa != 0; }, false, kRemesa1,
     "a second exclusive lock is refused and changes and records nothing"},
    {1, [](_multiuser &m) { return m.BloqueaRemesa(1, true); }, true, kRemesa1Doble,
     "a shared lock is granted at any count"},
    {0, [](_multiuser &m) { return m.DesbloqueaRemesa(1, false) && m.Reg_Remesa == 0; }, true, kRemesa1,
     "an unlock lowers the chain once"},
    {1, [](_multiuser &m) { return m.DesbloqueaRemesa(1, true) && m.DesbloqueaRemesa(1, true); }, true, kLibre,
     "never below 0"},

    // Bills.
    {0, [](_multiuser &m) { return m.BloqueaDocumento(1, false); }, true, {1, 1, 1, 1, 1, 0, 1, 1, 0, 0},
     "a bill raises its batch chain and its drawee; the issuer once"},
    {1, [](_multiuser &m) { return m.BloqueaDocumento(1, true); }, false, {1, 1, 1, 1, 1, 0, 1, 1, 0, 0},
     "a bill lock is always exclusive"},
    {0, [](_multiuser &m) { return m.DesbloqueaDocumento(1) && m.Reg_Documentos == 0; }, true, kLibre,
     "the unlock releases batch chain and drawee"},

    // The tree selection.
    {0, [](_multiuser &m) { return m.SeleccionaEmpresa(1); }, true, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
    {0, [](_multiuser &m) { return m.SeleccionaRemesa(1); }, true, kRemesa1,
     "a new selection releases the previous one"},
    {0, [](_multiuser &m) { return m.BloqueaRemesa(1, false) && m.Sel_Remesa == 0; }, true, kRemesa1,
     "an exclusive lock of the selected batch releases and clears the selection"},
    {0, [](_multiuser &m) { return m.DesbloqueaRemesa(1, false); }, true, kLibre, ""},
    {1, [](_multiuser &m) { return m.SeleccionaRemesa(1); }, true, kRemesa1, ""},
    {0, [](_multiuser &m) { return m.LiberaSeleccion(), true; }, true, kRemesa1,
     "a later release does not lower the other copy's count"},
    {1, [](_multiuser &m) { return m.LiberaSeleccion(), m.Reg_Remesa == 0; }, true, kLibre, ""},

    // Rows that do not exist.
    {0, [](_multiuser &m) { return m.GetBloqueoRemesa(2) == BLOQUEO_LIBRE && m.GetBloqueoRemesa(99) == BLOQUEO_OTRO; },
     true, kLibre, "an absent row reads as locked, not as the row read before it"},
    {0, [](_multiuser &m) { return m.BloqueaRemesa(99, true); }, false, kLibre, "and cannot be locked"},

    // Templates: a flag on the template and each item.
    {0, [](_multiuser &m) { return m.BloqueaPlantilla(1); }, true, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2}, ""},
    {1, [](_multiuser &m) { return m.BloqueaPlantilla(1); }, false, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2},
     "a template locked by one copy is refused to another"},
    {0, [](_multiuser &m) { return m.DesbloqueaPlantilla(1) && m.Reg_Plantilla == 0; }, true, kLibre, ""},

    // The login.
    {0, [](_multiuser &m) { return m.RegistraUsuarioLogin(1); }, true, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
    {1, [](_multiuser &m) { return m.RegistraUsuarioLogin(1); }, true, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "the same user in two copies"},
    {0, [](_multiuser &m) { return m.DesbloqueaUsuarioLogin(), m.Id_UsuarioLogineado == 0; }, true,
     {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
    {0, [](_multiuser &m) { return m.FinMultiusuario(); }, false, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "the exit does not release the logged-out user again"},
};

TEST_F(Bloqueos, LockUnlockAndStateStepByStep)
{
    for (size_t i = 0; i < std::size(kPasos); ++i) {
        const Paso &p = kPasos[i];
        EXPECT_EQ(p.accion(*c[p.copia]), p.resultado) << "step " << i << ": " << p.porque;
        EXPECT_EQ(Contadores(), p.contadores) << "step " << i << ": " << p.porque;
    }
}

TEST_F(Bloqueos, TheRowMirrorsTheRecordsForWhoeverReleasesADeadCopy)
{
    c[0]->RegistraUsuarioLogin(1);
    c[0]->SeleccionaEmisor(1);
    c[0]->BloqueaDocumento(1, false);
    c[0]->BloqueaPlantilla(1);
    EXPECT_EQ(Filas("SELECT Id_UsuarioLogineado,Reg_Usuario,Reg_Empresa,Reg_Presentador,Reg_Emisor,Reg_Remesa,"
                    "Reg_Librado,Reg_Documentos,Reg_Plantilla FROM [Aplicaciones()] WHERE Num_Aplicacion=1"),
              std::vector<std::string>{"Id_UsuarioLogineado=1&Reg_Usuario=0&Reg_Empresa=0&Reg_Presentador=0&"
                                       "Reg_Emisor=1&Reg_Remesa=0&Reg_Librado=0&Reg_Documentos=1&Reg_Plantilla=1"});
    c[1]->LiberaAplicacion(1);
    EXPECT_EQ(Contadores(), kLibre) << "everything the row named, once";
    c[2]->LiberaAplicacion(1);
    EXPECT_EQ(Contadores(), kLibre) << "a second release finds no row and lowers nothing";
}

// Notices: each other copy applies a notice once; it goes once every copy has read it.
class Avisos : public Bloqueos {
protected:
    std::string Lee(int copia)
    {
        std::string aplicadas;
        c[copia]->Host.ProcesaActualizacion = [&aplicadas](int usuario, int nivel, int id) {
            aplicadas += std::to_string(usuario) + ":" + std::to_string(nivel) + ":" + std::to_string(id) + ";";
        };
        c[copia]->LeeActualizaciones();
        c[copia]->Host.ProcesaActualizacion = nullptr;
        return aplicadas;
    }
    static size_t Quedan() { return Filas("SELECT * FROM [Actualizaciones()]").size(); }
};

TEST_F(Avisos, AppliedOnceByEachOtherCopyAndDeletedByTheLastReader)
{
    c[0]->RegistraUsuarioLogin(1);
    c[0]->NotificaActualizacion(NIVEL_REMESAS, 7);
    EXPECT_EQ(Lee(1), "1:2:7;");
    EXPECT_EQ(Lee(1), "") << "read once";
    EXPECT_EQ(Lee(0), "") << "never applied by its poster";
    EXPECT_EQ(Quedan(), 1u);
    EXPECT_EQ(Lee(2), "1:2:7;");
    EXPECT_EQ(Quedan(), 0u) << "the last of the three to read it deletes it";
    EXPECT_EQ(c[2]->NumAplicaciones, 3);
}

TEST_F(Avisos, TwoReadersAtOnceLoseNoCount)
{
    c[0]->NotificaActualizacion(NIVEL_DOCUMENTOS, 1);
    c[0]->NotificaActualizacion(NIVEL_DOCUMENTOS, 2);
    std::string segunda;
    c[1]->Host.ProcesaActualizacion = [&](int, int, int id) {
        if (id == 1)
            segunda = Lee(2); // the third copy reads while the second is still applying
    };
    c[1]->LeeActualizaciones();
    EXPECT_EQ(segunda, "0:3:1;0:3:2;");
    EXPECT_EQ(Lee(0), "");
    EXPECT_EQ(Quedan(), 0u) << "both readers counted on both notices";
}

// Copies that come and go while notices wait: one that leaves unread keeps nothing, and
// those that come later delete nothing a copy still registered has not read.
TEST_F(Avisos, ANoticeGoesOnceEveryCopyStillRegisteredHasReadIt)
{
    c[0]->NotificaActualizacion(NIVEL_REMESAS, 7);
    EXPECT_EQ(Lee(0) + Lee(1), "0:2:7;");
    c[2]->FinMultiusuario();
    EXPECT_EQ(Quedan(), 0u);

    c[0]->NotificaActualizacion(NIVEL_REMESAS, 8);
    for (int vez = 0; vez < 2; ++vez) {
        ASSERT_TRUE(c[2]->IniciaMultiusuario());
        c[2]->UltimaActualizacion = 0; // a copy just started
        EXPECT_EQ(Lee(2), "0:2:8;");
        c[2]->FinMultiusuario();
    }
    EXPECT_EQ(Lee(1), "0:2:8;");
}

TEST_F(Avisos, ACopyAloneDeletesItsOwnNotices)
{
    c[1]->FinMultiusuario();
    c[2]->FinMultiusuario();
    c[0]->NotificaActualizacion(NIVEL_LIBRADOS, 0);
    EXPECT_EQ(Lee(0), "");
    EXPECT_TRUE(Filas("SELECT * FROM [Actualizaciones()]").empty());
}

} // namespace
