// The issuer dialog.
#include "Uniemisor.h"

#include "Controles.h"
#include "General.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

const char *const kCuentaVacia = "0000000000";
// Control digits that do not match the credit account, the charge account.
constexpr int kTextoAbonoErroneo = 826;
constexpr int kTextoCargoErroneo = 827;

QLineEdit *CajaNumerica(QWidget *padre, int largo, QObject *filtro)
{
    auto *caja = new QLineEdit(padre);
    caja->setMaxLength(largo);
    // Digits only, typed or pasted.
    caja->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caja));
    caja->installEventFilter(filtro);
    return caja;
}

} // namespace

TFRMEmisores::TFRMEmisores(QWidget *parent)
    : QDialog(parent),
      Label4(new QLabel(this)),
      Label2(new QLabel(this)),
      Label3(new QLabel(this)),
      Label1(new QLabel(this)),
      TXTRazon(new QLineEdit(this)),
      TXTNif(new QLineEdit(this)),
      TXTSufijo(new QLineEdit(this)),
      TXTCuenta(CajaNumerica(this, 4, this)),
      TXTOficina(CajaNumerica(this, 4, this)),
      TXTControl(CajaNumerica(this, 2, this)),
      TXTDigitos(CajaNumerica(this, 10, this)),
      GroupBox1(new QGroupBox(this)),
      TXTCuentaCargo(CajaNumerica(GroupBox1, 4, this)),
      TXTOficinaCargo(CajaNumerica(GroupBox1, 4, this)),
      TXTControlCargo(CajaNumerica(GroupBox1, 2, this)),
      TXTDigitosCargo(CajaNumerica(GroupBox1, 10, this)),
      TXTDesc_Cuenta_Cargo(new QLineEdit(GroupBox1)),
      BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    Label5 = new QLabel(GroupBox1);
    Label6 = new QLabel(GroupBox1);
    TXTRazon->setMaxLength(40);
    TXTNif->setMaxLength(9);
    TXTSufijo->setMaxLength(3);
    TXTDesc_Cuenta_Cargo->setMaxLength(31);
    BTNAceptar->setDefault(true);

    AnchoParaCaracteres(TXTRazon, 40);
    AnchoParaCaracteres(TXTNif, 9, true);
    AnchoParaCaracteres(TXTSufijo, 3, true);
    AnchoParaCaracteres(TXTDesc_Cuenta_Cargo, 31);
    const Cajas cuentas[] = {Abono(), Cargo()};
    for (const Cajas &c : cuentas) {
        AnchoParaCaracteres(c.banco, 4, true);
        AnchoParaCaracteres(c.oficina, 4, true);
        AnchoParaCaracteres(c.control, 2, true);
        AnchoParaCaracteres(c.digitos, 10, true);
    }
    // A row of boxes, each at its own width, from the left.
    auto fila = [](std::initializer_list<QWidget *> controles) {
        auto *f = new QHBoxLayout;
        for (QWidget *c : controles)
            f->addWidget(c);
        f->addStretch(1);
        return f;
    };

    auto *cargo = new QGridLayout(GroupBox1);
    cargo->addWidget(Label5, 0, 0);
    cargo->addLayout(fila({TXTCuentaCargo, TXTOficinaCargo, TXTControlCargo, TXTDigitosCargo}), 0, 1);
    cargo->addWidget(Label6, 1, 0);
    cargo->addWidget(TXTDesc_Cuenta_Cargo, 1, 1);
    cargo->setColumnStretch(1, 1);

    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(Label4, 0, 0);
    rejilla->addWidget(TXTRazon, 0, 1);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addLayout(fila({TXTNif, Label3, TXTSufijo}), 1, 1);
    rejilla->addWidget(Label1, 2, 0);
    rejilla->addLayout(fila({TXTCuenta, TXTOficina, TXTControl, TXTDigitos}), 2, 1);
    rejilla->addWidget(GroupBox1, 3, 0, 1, 2);
    rejilla->setColumnStretch(1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    rejilla->addLayout(botones, 4, 0, 1, 2);
    OrdenTabulacion({TXTRazon, TXTNif, TXTSufijo, TXTCuenta, TXTOficina, TXTControl, TXTDigitos, TXTCuentaCargo,
                     TXTOficinaCargo, TXTControlCargo, TXTDigitosCargo, TXTDesc_Cuenta_Cargo, BTNAceptar, BTNCancelar});
    DescartaTeclasAlt(this);

    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMEmisores::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &TFRMEmisores::BTNCancelarClick);
}

void TFRMEmisores::PonCuenta(const Cajas &cuenta, std::string_view veinte)
{
    auto parte = [veinte](size_t desde, size_t largo) {
        return desde < veinte.size() ? veinte.substr(desde, largo) : std::string_view();
    };
    PonTextoCaja(cuenta.banco, parte(0, 4));
    PonTextoCaja(cuenta.oficina, parte(4, 4));
    PonTextoCaja(cuenta.control, parte(8, 2));
    PonTextoCaja(cuenta.digitos, parte(10, 10));
}

void TFRMEmisores::PreparaAlta(const _Organizacion &organizacion, int presentador)
{
    m_organizacion = &organizacion;
    m_modificacion = false;
    m_presentador = presentador;
    m_clave = 0;
    setWindowTitle(Rotulo(107));
    for (QLineEdit *caja : findChildren<QLineEdit *>())
        caja->clear();
    m_cuentaAbono.clear();
    m_cuentaCargo.clear();
}

void TFRMEmisores::PreparaModificacion(const _Organizacion &organizacion, int presentador, int clave,
                                       const STREmisor &datos)
{
    m_organizacion = &organizacion;
    m_modificacion = true;
    m_presentador = presentador;
    m_clave = clave;
    setWindowTitle(Rotulo(95));
    PonTextoCaja(TXTRazon, datos.Razon_social);
    PonTextoCaja(TXTNif, datos.Id_nif);
    PonTextoCaja(TXTSufijo, datos.Sufijo);
    PonCuenta(Abono(), datos.Cuenta_abono);
    PonCuenta(Cargo(), datos.Cuenta_cargo);
    PonTextoCaja(TXTDesc_Cuenta_Cargo, datos.Desc_cuenta);
    m_cuentaAbono = datos.Cuenta_abono;
    m_cuentaCargo = datos.Cuenta_cargo;
}

STREmisor TFRMEmisores::Lee() const
{
    return {TextoCaja(TXTNif).substr(0, 9),
            TextoCaja(TXTSufijo).substr(0, 3),
            TextoCaja(TXTRazon).substr(0, 40),
            m_cuentaAbono,
            m_cuentaCargo,
            TextoCaja(TXTDesc_Cuenta_Cargo).substr(0, 30)};
}

void TFRMEmisores::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMEmisores::FormShow()
{
    Label4->setText(Etiqueta(5));
    Label2->setText(Etiqueta(469));
    Label3->setText(Etiqueta(9));
    Label1->setText(Etiqueta(108));
    GroupBox1->setTitle(Rotulo(109));
    Label6->setText(Etiqueta(42));
    Label5->setText(Etiqueta(343));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
    SafeSetFocus(TXTRazon);
}

bool TFRMEmisores::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::FocusOut) {
        // Leaving the box for another control; not the window losing the focus to another.
        const Qt::FocusReason razon = static_cast<QFocusEvent *>(evento)->reason();
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) {
            auto *caja = static_cast<QLineEdit *>(objeto);
            if (caja->parentWidget() == GroupBox1)
                TxtCuentaCargoExit(caja);
            else
                TXTCuentaExit(caja);
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void TFRMEmisores::TXTCuentaExit(QLineEdit *caja)
{
    SalidaCuenta(caja, Abono());
}

void TFRMEmisores::TxtCuentaCargoExit(QLineEdit *caja)
{
    SalidaCuenta(caja, Cargo());
}

void TFRMEmisores::SalidaCuenta(QLineEdit *caja, const Cajas &c)
{
    if (caja == c.digitos && !caja->text().isEmpty() && TextoCaja(c.banco) == kEntidadPropia)
        ValidaCuentaBanco(caja);
    Padea(caja);
    if (caja == c.digitos && c.control->text().isEmpty() && !c.banco->text().isEmpty() &&
        !c.oficina->text().isEmpty() && !caja->text().isEmpty())
        PonTextoCaja(c.control, CalcDigitosControl(TextoCaja(c.banco), TextoCaja(c.oficina), TextoCaja(caja)));
}

bool TFRMEmisores::CompruebaObligatorios()
{
    const std::pair<QLineEdit *, int> obligatorios[] = {{TXTRazon, 5},   {TXTNif, 469},    {TXTSufijo, 9},
                                                        {TXTCuenta, 30}, {TXTOficina, 447}, {TXTDigitos, 7}};
    std::string faltan;
    for (const auto &[caja, nombre] : obligatorios)
        if (caja->text().isEmpty())
            faltan += (faltan.empty() ? "" : ",") + Idioma.GetTexto(nombre);
    if (faltan.empty())
        return true;
    CajaMensaje(Idioma.GetTexto(139) + faltan, Idioma.GetTexto(1), IconoMensaje::Error);
    return false;
}

bool TFRMEmisores::CompletaCuenta(const Cajas &c, int textoErroneo, std::string &cuenta)
{
    const std::string banco = TextoCaja(c.banco), oficina = TextoCaja(c.oficina), digitos = TextoCaja(c.digitos);
    if (DigitosErroneos(banco, oficina, TextoCaja(c.control), digitos)) {
        AvisoTexto(textoErroneo, 1, IconoMensaje::Error);
        EnfocaCaja(c.control);
        return false;
    }
    if (c.control->text().isEmpty())
        PonTextoCaja(c.control, CalcDigitosControl(banco, oficina, digitos));
    cuenta = banco + oficina + TextoCaja(c.control) + digitos;
    return true;
}

bool TFRMEmisores::CompruebaCargo()
{
    const Cajas c = Cargo();
    if (c.banco->text().isEmpty() && c.oficina->text().isEmpty() && c.control->text().isEmpty() &&
        c.digitos->text().isEmpty()) {
        m_cuentaCargo.clear();
        return true;
    }
    if (c.banco->text().isEmpty() || c.oficina->text().isEmpty()) {
        AvisoTexto(105, 1, IconoMensaje::Error);
        return false;
    }
    if (c.digitos->text().isEmpty())
        PonTextoCaja(c.digitos, kCuentaVacia);
    return CompletaCuenta(c, kTextoCargoErroneo, m_cuentaCargo);
}

void TFRMEmisores::BTNAceptarClick()
{
    if (!m_organizacion)
        return; // never prepared
    // OK pressed from the keyboard leaves no box: do what leaving it does, and bring every
    // account part to its full width.
    if (auto *caja = qobject_cast<QLineEdit *>(focusWidget()); caja && caja->validator())
        SalidaCuenta(caja, caja->parentWidget() == GroupBox1 ? Cargo() : Abono());
    for (const Cajas &c : {Abono(), Cargo()})
        for (QLineEdit *caja : {c.banco, c.oficina, c.control, c.digitos})
            Padea(caja);
    LimpiaCaja(TXTRazon);
    LimpiaCajaNif(TXTNif);
    LimpiaCaja(TXTSufijo);
    LimpiaCaja(TXTDesc_Cuenta_Cargo);
    if (!CompruebaObligatorios() || !CompruebaNif(TXTNif) || !CompruebaSufijo(TXTSufijo))
        return;
    if (!CompletaCuenta(Abono(), kTextoAbonoErroneo, m_cuentaAbono) || !CompruebaCargo())
        return;
    const ElementoOrganizacion candidato{m_modificacion ? m_clave : 0, m_presentador, Lee()};
    if (m_organizacion->CuentaIguales(candidato) > 0) {
        AvisoTexto(106, 6, IconoMensaje::Error);
        return;
    }
    accept();
}

void TFRMEmisores::BTNCancelarClick()
{
    reject();
}

void TFRMEmisores::done(int resultado)
{
    TXTDigitos->clear();
    TXTDigitosCargo->clear();
    QDialog::done(resultado);
}
