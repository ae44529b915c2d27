// The one writer of a batch's stored totals: every change of its bills' amounts or states
// ends by calling it.
#pragma once

#include <string>
#include <string_view>

// Recomputes the batch idRemesa's Importe_total (the sum of its normal bills, active or
// not; erroneous bills count nowhere) and Contravalor_total (its counter-value), both in
// storage form, and writes them whatever the batch's lock. A batch without normal bills
// gets 0 and the counter-value 0. moneda is the batch's currency, "ESP" or "EUR"; empty
// reads it from the batch. Returns the empty text, or the error text of the query or
// statement that failed (already in the product log).
std::string ActualizaTotalesRemesa(std::string_view idRemesa, std::string_view moneda = {});
