// The unlogged database calls of the multi-user coordination: queries through vasqdb's
// direct query call and statements on its second connection, outside any transaction,
// neither logged nor counted as user activity. Failures leave nothing in vasqdb's last
// error. Texts are Windows-1252.
#pragma once

#include "Multiuser.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace multiusersql {

// The row texts of a query; false (and no rows) when it failed.
bool Consulta(const std::string &sql, std::vector<std::string> &filas);

// The first row of a query, the empty text when it has none; false (and the empty text)
// when it failed. Nothing of an earlier query is left in it.
bool PrimeraFila(const std::string &sql, std::string &fila);

// Runs a statement on the second connection: the rows it changed, -1 when it failed.
int Ejecuta(const std::string &sql);

// The whole text as a decimal integer (an optional "-" and digits), else defecto.
int Entero(std::string_view texto, int defecto);

// The field of a row text as Entero reads it: defecto when absent, "NULL" or no number.
int Numero(std::string_view fila, std::string_view campo, int defecto);

} // namespace multiusersql

// One lock operation: the statements Ejecuta runs while the object lives are one
// transaction of the second connection, written only by a Confirma;
// otherwise they are rolled back and the copy's records, selection and shared locks are put
// back as they were when the object was made.
class _multiuser::Atomica {
public:
    explicit Atomica(_multiuser &m);
    ~Atomica();
    Atomica(const Atomica &) = delete;
    Atomica &operator=(const Atomica &) = delete;

    // Commits; true when written.
    bool Confirma();
    // A lock taken: commits once the copy's row names its records as they are now (a copy
    // without a number has no row to name them); true when written.
    bool ConfirmaTomada();
    // A lock released: commits once the copy's row, when it has one, names its records as
    // they are now; true when written.
    bool ConfirmaSoltada();

private:
    static constexpr int _multiuser::*kMiembros[] = {
        &_multiuser::Id_UsuarioLogineado, &_multiuser::Reg_Usuario, &_multiuser::Reg_Empresa,
        &_multiuser::Reg_Presentador,     &_multiuser::Reg_Emisor,  &_multiuser::Reg_Remesa,
        &_multiuser::Reg_Librado,         &_multiuser::Reg_Documentos, &_multiuser::Reg_Plantilla,
        &_multiuser::Sel_Usuario,         &_multiuser::Sel_Empresa, &_multiuser::Sel_Presentador,
        &_multiuser::Sel_Emisor,          &_multiuser::Sel_Remesa};

    _multiuser &m_m;
    std::array<int, std::size(kMiembros)> m_antes{};
    std::multiset<std::pair<Nivel, int>> m_compartidosAntes;
    bool m_abierta = false, m_confirmada = false;
};
