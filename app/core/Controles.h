// Small helpers of the windows: Windows-1252 text in and out of controls, captions from the
// language table, the message box with language texts, and the keyboard and sizes of a
// window's controls.
#pragma once

#include "Frmmsg.h"
#include "General.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <string_view>

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QWidget;

// The text of a line edit, as Windows-1252; and back.
std::string TextoCaja(const QLineEdit *caja);
void PonTextoCaja(QLineEdit *caja, std::string_view texto);

// A line edit's whole number (defecto when it holds none); and back.
int NumeroCaja(const QLineEdit *caja, int defecto = 0);
void PonNumeroCaja(QLineEdit *caja, int n);

// Cleans a line edit's text with LimpiaTexto, puts the result back and returns it.
std::string LimpiaCaja(QLineEdit *caja);
// The same for a NIF box, its letters then as capitals (NifMayusculas).
std::string LimpiaCajaNif(QLineEdit *caja);

// The language text n as a caption; Etiqueta adds " :" for a label.
QString Rotulo(int n);
QString Etiqueta(int n);

// The language text n as a button's caption whose Alt key is letra: its first letra is the
// one underlined, in place of any the text underlines.
QString Rotulo(int n, QChar letra);

// The message box with language texts: text and caption by number.
RespuestaMensaje AvisoTexto(int texto, int titulo, IconoMensaje icono, BotonesMensaje botones = BotonesMensaje::Ok);

// The name filters of a file-dialog filter text "description|pattern|description|pattern".
QStringList FiltrosTexto(int texto);

// The focus on the box (SafeSetFocus) with its text selected, so that what is typed
// replaces it.
void EnfocaCaja(QLineEdit *caja);

// Line edits that take only digits, typed or pasted.
void SoloDigitos(std::initializer_list<QLineEdit *> cajas);

// Marks a box whose text cannot be taken: red, with the reason (Windows-1252) as its hint;
// an empty reason takes the mark away.
void SenalaRechazo(QLineEdit *caja, const std::string &motivo);

// An amount box of the currency moneda: its text read by LeeImporteTecleado, the box
// marked while the text does not read (an empty box is not marked). No amount box filters
// its keys: it keeps whatever is typed or pasted, and what does not read is refused.
ImporteTecleado SenalaImporte(QLineEdit *caja, std::string_view moneda);

// The amount box's text read at a window's OK: true when it reads or the box is empty;
// otherwise a message says why and the box, its text kept, gets the focus.
bool CompruebaImporte(QLineEdit *caja, std::string_view moneda);

// The suffix box of a presenter or issuer at a window's OK: true when it holds three digits;
// otherwise text 756 says so and the box, its text kept, gets the focus.
bool CompruebaSufijo(QLineEdit *caja);
// The NIF box of a presenter or issuer at a window's OK: true when MotivoNif takes it;
// otherwise its reason is shown (caption text 1) and the box, its text kept, gets the focus.
bool CompruebaNif(QLineEdit *caja);

// The keyboard's order through the controls, as the window shows them: each one's Tab
// leads to the next.
void OrdenTabulacion(std::initializer_list<QWidget *> controles);

// An Alt+key that no shortcut took (the mnemonic of a disabled control, or a letter that
// names nothing) does nothing in the window's controls: it neither types nor searches.
void DescartaTeclasAlt(QWidget *ventana);

// The valid currencies of the reference table into a combo box, sorted by description
// ("Euros" before "Pesetas"), each with its key ("EUR", "ESP") as item data.
void ListaMonedas(QComboBox *lista);

// Width for n characters of a control's text: n wide capitals at its font, as Qt measures
// a combo box's minimum contents.
int AnchoCaracteres(const QWidget *control, int caracteres);

// A line edit or combo box at least as wide as it needs to show n characters whole (a
// password, n mask characters), its frame, margins and arrow included. Fijo keeps the line
// edit at that width (a short code or a box of digits).
void AnchoParaCaracteres(QLineEdit *caja, int caracteres, bool fijo = false);
void AnchoParaCaracteres(QComboBox *lista, int caracteres);

// Rows of a list tall enough for the accented capitals of its font (N with tilde, E acute),
// whose tops rise above the font's ascent in some fonts, and for its descenders.
void FilasParaAcentos(QAbstractItemView *lista);
