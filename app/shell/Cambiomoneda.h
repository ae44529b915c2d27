// The batch currency switch without windows: a batch from pesetas to euros or back, with
// its bills' amounts and counter-values, the amounts inside their concepts and its totals,
// in one transaction of the main connection. Shows nothing, takes no lock, posts no notice:
// the command checks the lock first and posts the notice after. Main thread only.
#pragma once

#include "Remesas.h"

#include <string>
#include <string_view>

// Whether switching a batch now in moneda, whose counter-value reads contravalor on screen,
// would give a total over the new currency's limit (99999999.99 euros, 9999999999 pesetas;
// the limit itself fits). The counter-value is first rounded as an amount of moneda; a text
// that is no amount counts as 0.
bool SuperaLimiteCambio(std::string_view contravalor, std::string_view moneda);

enum class CambioMoneda {
    Cambiada,
    Retenida, // the batch is gone or another copy holds one of its bills: nothing written
    Fallida,  // a statement failed (logged): nothing written
};

// Called now and then with the bills done and the total.
using ProgresoCambio = ProgresoRecibos;

// Switches the batch idRemesa to moneda ("ESP" or "EUR"). Without a template, bills
// exchange amount and counter-value. With one, each non-zero amount field of a bill's
// concept (every item that is not a label, 12 characters at its X, Y) is converted and
// written blank-padded, and the bill's amount becomes the template's total in the new
// currency (a bill without concept, or a template without total, exchanges instead). Sets
// the items plug-in to the new currency. The totals are written anew.
CambioMoneda CambiaMonedaRemesa(int idRemesa, const std::string &moneda, const ProgresoCambio &progreso = {});
