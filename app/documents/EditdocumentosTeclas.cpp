// The bill editor's keys, its change handler and the checks run when a box is left.
#include "Editdocumentos.h"

#include "Cajafecha.h"
#include "Controles.h"
#include "General.h"
#include "Librados.h"
#include "Modmas.h"
#include "qcp1252.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int kLineasMemo = 8;
constexpr int kAnchoLinea = 80;

// A postcode the exit lets stay: blank, or 5 digits whose first two are 01 to 52.
bool CPValido(const std::string &cp)
{
    if (Recorta(cp).empty())
        return true;
    if (cp.size() < 5)
        return false;
    const int provincia = (cp[0] - '0') * 10 + (cp[1] - '0');
    return provincia >= 1 && provincia <= 52;
}

// The province code of a province name (looked up in capitals); empty when unknown.
std::string CodigoProvincia(const std::string &nombre)
{
    std::string codigo;
    const std::string mayusculas = cp1252::fromQString(cp1252::toQString(nombre).toUpper());
    DBGetData(FormateaTexto("SELECT CP FROM [_Provincias()] WHERE Provincia = '%s';", LimpiaTextoSQL(mayusculas)),
              [&codigo](char *fila, char *, int) { codigo = GetCampoTexto("CP", fila); });
    return codigo;
}

} // namespace

void TFormEditDocumentos::ConectaCambios()
{
    for (QLineEdit *caja : tabRecibo->findChildren<QLineEdit *>()) {
        caja->installEventFilter(this);
        if (caja == txtProvincia58 || caja == TXTBuscar || caja == txtContravalor)
            continue;
        connect(caja, &QLineEdit::textChanged, this, [this, caja] { Cambio(caja, caja->isModified()); });
    }
    for (QLineEdit *referencia : {txtCodReferencia, txtCodReferencia58})
        connect(referencia, &QLineEdit::textEdited, this, [this] { m_referenciaEditada = true; });
    memoConceptos->installEventFilter(this);
    connect(memoConceptos, &QPlainTextEdit::textChanged, this, [this] { Cambio(memoConceptos, true); });
    connect(dateVencimiento58, &TCajaFecha::dateChanged, this,
            [this](const QDate &fecha) { PonTextoCaja(txtVencimiento58, FechaUsuario(fecha)); });
    connect(dateFormalizacion58, &TCajaFecha::dateChanged, this,
            [this](const QDate &fecha) { PonTextoCaja(txtFechaFormalizacion58, FechaUsuario(fecha)); });
    for (QListWidget *lista : {LBBancos, LabelBancos}) {
        lista->installEventFilter(this);
        connect(lista, &QListWidget::itemClicked, this, [this, lista] { CopiaBanco(lista); });
        connect(lista, &QListWidget::itemDoubleClicked, this, [this, lista] {
            lista->hide();
            SafeSetFocus(lista == LBBancos ? txtOficina : txtOficina58);
        });
    }
}

void TFormEditDocumentos::PonMonedaImporte()
{
    const bool euros = m_documento.Id_moneda == kMonedaEuros;
    labelMonedaImporte->setText(QString::fromLatin1(euros ? kMonedaEuros : kMonedaPesetas));
    labelMonedaContravalor->setText(QString::fromLatin1(euros ? kMonedaPesetas : kMonedaEuros));
    SenalaImporte(txtImporte, m_documento.Id_moneda);
}

void TFormEditDocumentos::Cambio(QObject *caja, bool usuario)
{
    if (caja == memoConceptos) {
        // A line longer than 80 characters is cut; lines past the eighth are not kept.
        const QStringList lineas = memoConceptos->toPlainText().split(QLatin1Char('\n'));
        QStringList cortadas;
        for (const QString &l : lineas)
            cortadas << l.left(kAnchoLinea);
        if (cortadas != lineas) {
            const int posicion = memoConceptos->textCursor().position();
            memoConceptos->setPlainText(cortadas.join(QLatin1Char('\n')));
            QTextCursor cursor = memoConceptos->textCursor();
            cursor.setPosition(std::min(posicion, int(memoConceptos->toPlainText().size())));
            memoConceptos->setTextCursor(cursor);
        }
    }
    if (caja == txtImporte)
        SenalaImporte(txtImporte, m_documento.Id_moneda);
    if (caja == txtImporte && usuario) {
        // The counter-value of an amount that reads; none while it does not.
        const ImporteTecleado importe = LeeImporteTecleado(TextoCaja(txtImporte), m_documento.Id_moneda);
        PonTextoCaja(txtContravalor, FormatContravalor(importe.SQL, m_documento.Id_moneda));
        const std::string plantilla = NullToEmpty(m_documento.Id_plantilla);
        if (!plantilla.empty() && !m_avisoPlantilla) {
            m_avisoPlantilla = true;
            txtImporte->setStyleSheet(QStringLiteral("color: red"));
            ShowMsg(Idioma.GetTexto(14), Idioma.GetTexto(143) + Idioma.GetTexto(144), 0);
        }
    }
    if (caja == txtCP && txtCP->text().size() >= 2 && Host.GetProvincia)
        PonTextoCaja(txtProvincia, Host.GetProvincia(TextoCaja(txtCP).substr(0, 2)));
    cbtOK->setEnabled(true);
}

void TFormEditDocumentos::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_F3) {
        if (BTNBuscar->isVisible())
            BTNBuscarClick();
        return;
    }
    if (evento->key() == Qt::Key_Escape && panelLibrados->isVisible()) {
        CierraLista(false);
        return;
    }
    // A bill typed is dropped only when the user says so.
    if (evento->key() == Qt::Key_Escape && Tecleado()
        && AvisoTexto(499, 6, IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi)
        return;
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        if (lstLibrados->hasFocus() && panelLibrados->isVisible())
            cbtOKClick();
        return; // no default button
    }
    QDialog::keyPressEvent(evento);
}

bool TFormEditDocumentos::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        const bool intro = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
        if (objeto == memoConceptos) {
            const int lineas = memoConceptos->blockCount();
            const bool borra = tecla->key() == Qt::Key_Backspace || tecla->key() == Qt::Key_Delete;
            return (intro && lineas >= kLineasMemo) || (lineas > kLineasMemo && !borra && !tecla->text().isEmpty());
        }
        if (auto *lista = qobject_cast<QListWidget *>(objeto); lista && intro) {
            CopiaBanco(lista);
            lista->hide();
            SafeSetFocus(lista == LBBancos ? txtOficina : txtOficina58);
            return true;
        }
        // Escape closes the bank list alone, as it closes the drawee list, taking no bank.
        if (auto *lista = qobject_cast<QListWidget *>(objeto); lista && tecla->key() == Qt::Key_Escape) {
            lista->hide();
            SafeSetFocus(lista == LBBancos ? txtBanco : txtBanco58);
            return true;
        }
        if (auto *caja = qobject_cast<QLineEdit *>(objeto); caja && intro && !qobject_cast<TCajaFecha *>(caja))
            return Intro(caja);
    } else if (evento->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(evento)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (auto *lista = qobject_cast<QListWidget *>(objeto); lista && lista->isVisible()) {
            CopiaBanco(lista);
            lista->hide();
        } else if (auto *caja = qobject_cast<QLineEdit *>(objeto)) {
            SalidaPendiente(caja);
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

bool TFormEditDocumentos::Intro(QLineEdit *caja)
{
    if (caja == TXTBuscar) {
        BTNBuscarClick();
        return true;
    }
    if (!cbtOK->isEnabled())
        return true;
    const Panel p = PanelActual();
    if (caja == p.banco || caja == p.oficina || caja == p.dc) {
        Padea(caja);
    } else if (caja == p.cuenta || caja == txtCPDeudor58 || caja == txtCPReceptor58 || caja == txtProvincia58) {
        const bool inmediato = caja != p.cuenta && caja->text().isEmpty();
        if (!inmediato) {
            // The box's exit runs now, whether or not leaving it reports it.
            EjecutaSalida();
            cbtOK->setFocus(Qt::OtherFocusReason);
            m_salida = nullptr;
            Salida(caja);
            if (caja->text().isEmpty()) {
                SafeSetFocus(caja);
                return true;
            }
            if (!cbtOK->isEnabled())
                return true;
        }
    }
    cbtOKClick();
    return true;
}

void TFormEditDocumentos::SalidaPendiente(QLineEdit *caja)
{
    EjecutaSalida();
    m_salida = caja;
    QTimer::singleShot(0, this, &TFormEditDocumentos::EjecutaSalida);
}

void TFormEditDocumentos::EjecutaSalida()
{
    QLineEdit *caja = std::exchange(m_salida, nullptr);
    if (caja && isVisible())
        Salida(caja);
}

void TFormEditDocumentos::Salida(QLineEdit *caja)
{
    const Panel p = PanelActual();
    if (caja == txtCodReferencia || caja == txtCodReferencia58)
        GetDataLibrado(caja);
    else if (caja == p.banco || caja == p.oficina || caja == p.dc)
        Padea(caja);
    else if (caja == p.cuenta)
        SalidaCuenta(caja);
    else if (caja == txtCP || caja == txtCPDeudor58)
        SalidaCP(caja);
    else if (caja == txtProvincia)
        SalidaProvincia();
    else if (caja == txtCPReceptor58)
        SalidaCPReceptor();
    else if (caja == txtProvincia58)
        SalidaProvincia58();
}

void TFormEditDocumentos::GetDataLibrado(QLineEdit *caja)
{
    if (!m_referenciaEditada)
        return;
    m_referenciaEditada = false;
    std::string fila;
    if (BuscaLibrado(m_destino.IdUsuario, m_destino.TipoOrden, TextoCaja(caja), &fila) == 0) {
        if (m_destino.TipoOrden != 1 && m_destino.TipoOrden != 2)
            WriteLog("[ TFormEditDocumentos::GetDataLibrado ] Tipo de Orden desconocida (no CSB19 o CSB58)");
        return;
    }
    PonLibrado(LeeFilaLibrado(fila));
    m_referenciaEditada = false;
    // A CSB58 credit's due date is the user's to state: the cursor stops there.
    if (Es58())
        EnfocaCaja(dateVencimiento58);
    else
        SafeSetFocus(txtImporte);
}

void TFormEditDocumentos::SalidaCuenta(QLineEdit *caja)
{
    const Panel p = PanelActual();
    if (TextoCaja(p.banco) == kEntidadPropia && !caja->text().isEmpty()) {
        if (!ValidaCuentaBanco(caja)) {
            SafeSetFocus(caja);
            return;
        }
    } else if (!Recorta(TextoCaja(caja)).empty()) {
        Padea(caja);
    }
    if (Recorta(TextoCaja(p.dc)).empty() && !Recorta(TextoCaja(p.banco)).empty()
        && !Recorta(TextoCaja(p.oficina)).empty() && !Recorta(TextoCaja(caja)).empty())
        PonTextoCaja(p.dc, CalcDigitosControl(TextoCaja(p.banco), TextoCaja(p.oficina), TextoCaja(caja)));
}

void TFormEditDocumentos::SalidaCP(QLineEdit *caja)
{
    if (CPValido(TextoCaja(caja)))
        return;
    AvisoTexto(572, 6, IconoMensaje::Ninguno);
    caja->clear();
}

void TFormEditDocumentos::SalidaProvincia()
{
    const std::string codigo = CodigoProvincia(TextoCaja(txtProvincia));
    if (codigo.empty())
        return;
    const std::string cp = TextoCaja(txtCP);
    PonTextoCaja(txtCP, codigo.substr(0, 2) + (cp.size() > 2 ? cp.substr(2) : std::string()));
}

void TFormEditDocumentos::SalidaCPReceptor()
{
    const std::string codigo = TextoCaja(txtCPReceptor58);
    if (!codigo.empty() && (Numero(codigo) == 0 || codigo > "52" || codigo.size() != 2)) {
        AvisoTexto(571, 6, IconoMensaje::Ninguno);
        txtCPReceptor58->clear();
        txtLocalidadReceptor58->clear();
        return;
    }
    if (codigo.empty())
        return;
    const std::string antes = TextoCaja(txtProvincia58);
    const std::string nombre = Host.GetProvincia ? Host.GetProvincia(codigo.substr(0, 2)) : std::string();
    PonTextoCaja(txtProvincia58, nombre);
    if (!Recorta(antes).empty() && cp1252::toQString(antes).compare(cp1252::toQString(nombre), Qt::CaseInsensitive))
        AvisoTexto(629, 6, IconoMensaje::Aviso);
}

void TFormEditDocumentos::SalidaProvincia58()
{
    const std::string recordado = TextoCaja(txtCPReceptor58);
    txtCPReceptor58->clear();
    const std::string nombre = TextoCaja(txtProvincia58);
    const std::string codigo = CodigoProvincia(nombre);
    PonTextoCaja(txtCPReceptor58, codigo.substr(0, 2));
    if (codigo.empty() && !Recorta(nombre).empty()) {
        txtProvincia58->clear();
        AvisoTexto(630, 6, IconoMensaje::Aviso);
    } else if (!recordado.empty() && TextoCaja(txtCPReceptor58) != recordado) {
        AvisoTexto(629, 6, IconoMensaje::Aviso);
    }
}

