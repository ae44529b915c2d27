// Helpers of the windows.
#include "Controles.h"

#include "General.h"
#include "Modmas.h"
#include "qcp1252.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpressionValidator>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Drops the key presses of DescartaTeclasAlt before the control sees them.
class FiltroTeclasAlt : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() != QEvent::KeyPress)
            return false;
        const auto *tecla = static_cast<const QKeyEvent *>(evento);
        const Qt::KeyboardModifiers m = tecla->modifiers();
        return (m & Qt::AltModifier) && !(m & (Qt::ControlModifier | Qt::MetaModifier)) && !tecla->text().isEmpty() &&
               tecla->text().at(0).isPrint();
    }
};

// Rows of FilasParaAcentos: the text, centred as the delegate centres it, with as much room
// above its ascent as its highest accented capital needs, and below as its descenders.
class DelegadoAcentos : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &opcion, const QModelIndex &indice) const override
    {
        QSize tamano = QStyledItemDelegate::sizeHint(opcion, indice);
        const QFontMetrics &fm = opcion.fontMetrics;
        const QRect letras =
            fm.tightBoundingRect(QString::fromUtf8("\u00C1\u00C9\u00CD\u00D3\u00DA\u00D1\u00C7gjpqy"));
        const int sobra = std::max({0, -letras.top() - fm.ascent(), letras.bottom() - fm.descent()});
        tamano.setHeight(std::max(tamano.height(), fm.height() + 2 * (sobra + 1)));
        return tamano;
    }
};

} // namespace

std::string TextoCaja(const QLineEdit *caja)
{
    return cp1252::fromQString(caja->text());
}

void PonTextoCaja(QLineEdit *caja, std::string_view texto)
{
    caja->setText(cp1252::toQString(texto));
}

int NumeroCaja(const QLineEdit *caja, int defecto)
{
    bool leido = false;
    const int n = caja->text().toInt(&leido);
    return leido ? n : defecto;
}

void PonNumeroCaja(QLineEdit *caja, int n)
{
    caja->setText(QString::number(n));
}

std::string LimpiaCaja(QLineEdit *caja)
{
    const std::string limpio = LimpiaTexto(TextoCaja(caja));
    PonTextoCaja(caja, limpio);
    return limpio;
}

std::string LimpiaCajaNif(QLineEdit *caja)
{
    const std::string nif = NifMayusculas(LimpiaCaja(caja));
    PonTextoCaja(caja, nif);
    return nif;
}

QString Rotulo(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

QString Rotulo(int n, QChar letra)
{
    QString texto = Rotulo(n).remove(QLatin1Char('&'));
    if (const qsizetype i = texto.indexOf(letra); i >= 0)
        texto.insert(i, QLatin1Char('&'));
    return texto;
}

QStringList FiltrosTexto(int texto)
{
    QStringList filtros;
    const QStringList partes = Rotulo(texto).split('|');
    for (int i = 0; i < partes.size(); i += 2)
        filtros << partes[i].trimmed();
    return filtros;
}

void EnfocaCaja(QLineEdit *caja)
{
    SafeSetFocus(caja);
    caja->selectAll();
}

void SoloDigitos(std::initializer_list<QLineEdit *> cajas)
{
    for (QLineEdit *caja : cajas)
        caja->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caja));
}

void SenalaRechazo(QLineEdit *caja, const std::string &motivo)
{
    QPalette paleta;
    if (!motivo.empty()) {
        paleta = caja->palette();
        paleta.setColor(QPalette::Text, Qt::red);
    }
    caja->setPalette(paleta);
    caja->setToolTip(cp1252::toQString(motivo));
}

ImporteTecleado SenalaImporte(QLineEdit *caja, std::string_view moneda)
{
    const ImporteTecleado leido = LeeImporteTecleado(TextoCaja(caja), moneda);
    const bool vacia = caja->text().trimmed().isEmpty();
    SenalaRechazo(caja, leido.Rechazo && !vacia ? Idioma.GetTexto(leido.Rechazo) : std::string());
    return leido;
}

bool CompruebaImporte(QLineEdit *caja, std::string_view moneda)
{
    const ImporteTecleado leido = SenalaImporte(caja, moneda);
    if (leido.Rechazo == 0 || caja->text().trimmed().isEmpty())
        return true;
    AvisoTexto(leido.Rechazo, 1, IconoMensaje::Error);
    SafeSetFocus(caja);
    return false;
}

bool CompruebaSufijo(QLineEdit *caja)
{
    const std::string sufijo = TextoCaja(caja);
    if (SufijoBanco(sufijo) == sufijo)
        return true;
    AvisoTexto(756, 1, IconoMensaje::Error);
    SafeSetFocus(caja);
    return false;
}

bool CompruebaNif(QLineEdit *caja)
{
    const std::string motivo = MotivoNif(TextoCaja(caja));
    if (motivo.empty())
        return true;
    CajaMensaje(motivo, Idioma.GetTexto(1), IconoMensaje::Error);
    SafeSetFocus(caja);
    return false;
}

QString Etiqueta(int n)
{
    return Rotulo(n) + QStringLiteral(" :");
}

RespuestaMensaje AvisoTexto(int texto, int titulo, IconoMensaje icono, BotonesMensaje botones)
{
    return CajaMensaje(Idioma.GetTexto(texto), Idioma.GetTexto(titulo), icono, botones);
}

void OrdenTabulacion(std::initializer_list<QWidget *> controles)
{
    QWidget *anterior = nullptr;
    for (QWidget *control : controles) {
        if (anterior)
            QWidget::setTabOrder(anterior, control);
        anterior = control;
    }
}

void DescartaTeclasAlt(QWidget *ventana)
{
    auto *filtro = new FiltroTeclasAlt(ventana);
    for (QWidget *control : ventana->findChildren<QWidget *>())
        if (control->window() == ventana) // not the dialogs it owns
            control->installEventFilter(filtro);
}

void ListaMonedas(QComboBox *lista)
{
    DBGetData("SELECT * FROM [_TiposMoneda()] WHERE Moneda_valida = True;", [lista](char *fila, char *, int) {
        const std::string descripcion = GetCampoTexto("Descripcion", fila), clave = GetCampoTexto("Id_moneda", fila);
        if (descripcion != "NULL" && clave != "NULL")
            lista->addItem(cp1252::toQString(descripcion), QString::fromLatin1(clave.c_str()));
    });
    lista->model()->sort(0);
}

int AnchoCaracteres(const QWidget *control, int caracteres)
{
    return control->fontMetrics().horizontalAdvance(QLatin1Char('X')) * caracteres;
}

void AnchoParaCaracteres(QLineEdit *caja, int caracteres, bool fijo)
{
    QStyleOptionFrame opcion;
    opcion.initFrom(caja);
    opcion.lineWidth = caja->hasFrame() ? caja->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opcion, caja) : 0;
    // A password shows one mask character for each.
    const int caracter =
        caja->echoMode() == QLineEdit::Password
            ? caja->fontMetrics().horizontalAdvance(
                  QChar(caja->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &opcion, caja)))
            : AnchoCaracteres(caja, 1);
    // As QLineEdit measures its own size: the text, its margins of 2 pixels and the frame.
    const QMargins margenes = caja->textMargins();
    const int texto = caracter * caracteres + 4 + margenes.left() + margenes.right();
    const QSize contenido(texto, caja->sizeHint().height());
    const int ancho = caja->style()->sizeFromContents(QStyle::CT_LineEdit, &opcion, contenido, caja).width();
    if (fijo)
        caja->setFixedWidth(ancho);
    else
        caja->setMinimumWidth(ancho);
}

void AnchoParaCaracteres(QComboBox *lista, int caracteres)
{
    lista->setMinimumContentsLength(caracteres);
    lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void FilasParaAcentos(QAbstractItemView *lista)
{
    lista->setItemDelegate(new DelegadoAcentos(lista));
}
