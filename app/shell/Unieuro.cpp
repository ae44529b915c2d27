// The euro calculator.
#include "Unieuro.h"

#include "Controles.h"
#include "regional.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr long long kPesetasPorEuroMil = 166386; // 166.386 in thousandths

// a / b rounded half away from zero (b > 0).
long long DivideRedondeando(long long a, long long b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

bool SoloCifras(const std::string &texto)
{
    return texto.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

std::optional<std::string> EurosAPesetas(const std::string &euros)
{
    if (euros.empty())
        return "0";
    const size_t coma = euros.find(regional::decimalSeparator());
    const std::string enteros = euros.substr(0, coma);
    const std::string decimales = coma == std::string::npos ? std::string() : euros.substr(coma + 1);
    if (enteros.empty() && decimales.empty())
        return std::nullopt;
    if (!SoloCifras(enteros) || !SoloCifras(decimales) || enteros.size() + decimales.size() > 15)
        return std::nullopt;
    long long escala = 1000;
    for (size_t i = 0; i < decimales.size(); ++i)
        escala *= 10;
    const long long cifras = std::stoll("0" + enteros + decimales);
    return std::to_string(DivideRedondeando(cifras * kPesetasPorEuroMil, escala));
}

std::optional<std::string> PesetasAEuros(const std::string &pesetas)
{
    if (pesetas.empty())
        return std::string("0") + regional::decimalSeparator() + "00";
    if (!SoloCifras(pesetas) || pesetas.size() > 15)
        return std::nullopt;
    const long long centimos = DivideRedondeando(std::stoll(pesetas) * 100000, kPesetasPorEuroMil);
    const long long resto = centimos % 100;
    return std::to_string(centimos / 100) + regional::decimalSeparator() + (resto < 10 ? "0" : "") +
           std::to_string(resto);
}

TFRMEuroCalc::TFRMEuroCalc(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(QStringLiteral("Pesetas"), this)),
      Label2(new QLabel(QStringLiteral("Euros"), this)),
      TXTPtas(new QLineEdit(this)),
      TXTEuro(new QLineEdit(this)),
      BTNBorrar(new QPushButton(this)),
      BTNSalir(new QPushButton(this))
{
    setObjectName(QStringLiteral("FRMEuroCalc"));
    setWindowTitle(QStringLiteral("EuroCalculadora"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    TXTPtas->setObjectName(QStringLiteral("TXTPtas"));
    TXTEuro->setObjectName(QStringLiteral("TXTEuro"));
    TXTPtas->setMaxLength(10);
    TXTEuro->setMaxLength(11);
    for (QLineEdit *caja : {TXTPtas, TXTEuro}) {
        caja->setAlignment(Qt::AlignRight);
        AnchoParaCaracteres(caja, 12, true);
        caja->installEventFilter(this);
    }
    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(TXTPtas, 0, 1);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addWidget(TXTEuro, 1, 1);
    auto *botones = new QHBoxLayout;
    botones->addWidget(BTNBorrar);
    botones->addWidget(BTNSalir);
    rejilla->addLayout(botones, 2, 0, 1, 2);
    rejilla->setSizeConstraint(QLayout::SetFixedSize);
    OrdenTabulacion({TXTPtas, TXTEuro, BTNBorrar, BTNSalir});

    connect(BTNBorrar, &QPushButton::clicked, this, &TFRMEuroCalc::BTNBorrarClick);
    connect(BTNSalir, &QPushButton::clicked, this, &TFRMEuroCalc::BTNSalirClick);
    connect(TXTPtas, &QLineEdit::textChanged, this, &TFRMEuroCalc::TXTPtasChange);
    connect(TXTEuro, &QLineEdit::textChanged, this, &TFRMEuroCalc::TXTEuroChange);
}

void TFRMEuroCalc::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMEuroCalc::FormShow()
{
    BTNBorrarClick();
    BTNBorrar->setText(QStringLiteral("&") + Rotulo(37));
    BTNSalir->setText(Rotulo(8));
}

void TFRMEuroCalc::BTNBorrarClick()
{
    TXTPtas->setText(QStringLiteral("0"));
    TXTEuro->setText(QStringLiteral("0") + QLatin1Char(regional::decimalSeparator()) + QStringLiteral("00"));
}

void TFRMEuroCalc::BTNSalirClick()
{
    close();
}

void TFRMEuroCalc::TXTPtasChange()
{
    if (EditandoEuros)
        return;
    // A text that is no number leaves the other field as it is.
    if (const auto euros = PesetasAEuros(TXTPtas->text().toStdString()))
        TXTEuro->setText(QString::fromStdString(*euros));
}

void TFRMEuroCalc::TXTEuroChange()
{
    if (!EditandoEuros)
        return;
    if (const auto pesetas = EurosAPesetas(TXTEuro->text().toStdString()))
        TXTPtas->setText(QString::fromStdString(*pesetas));
}

bool TFRMEuroCalc::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::KeyPress && (objeto == TXTPtas || objeto == TXTEuro)) {
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        // Keys that type nothing (arrows, Tab, Delete, shortcuts) are not the filters' business.
        if (tecla->text().size() != 1 || !(tecla->text()[0].isPrint() || tecla->key() == Qt::Key_Backspace))
            return false;
        const QChar c = tecla->key() == Qt::Key_Backspace ? QChar(8) : tecla->text()[0];
        return objeto == TXTPtas ? TXTPtasKeyPress(c) : TXTEuroKeyPress(c);
    }
    return QDialog::eventFilter(objeto, evento);
}

bool TFRMEuroCalc::TXTPtasKeyPress(QChar tecla)
{
    EditandoEuros = false;
    return !(tecla.isDigit() || tecla == QChar(8));
}

bool TFRMEuroCalc::TXTEuroKeyPress(QChar tecla)
{
    EditandoEuros = true;
    const QChar separador = QLatin1Char(regional::decimalSeparator());
    if (tecla == QLatin1Char('.'))
        tecla = separador;
    const QString texto = TXTEuro->text();
    const bool conSeparador = texto.contains(separador);
    bool deja = tecla.isDigit() || tecla == QChar(8) || (tecla == separador && !conSeparador);
    if (conSeparador && texto.size() > 10 && tecla != QChar(8))
        deja = false;
    if (!conSeparador && texto.size() >= 8 && tecla != QChar(8) && tecla != separador)
        deja = false;
    if (deja && tecla == separador) {
        // "." is typed as the regional separator.
        TXTEuro->insert(separador);
        return true;
    }
    return !deja;
}
