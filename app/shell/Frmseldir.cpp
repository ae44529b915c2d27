// The folder picker.
#include "Frmseldir.h"

#include "Controles.h"
#include "Multiidioma.h"
#include "qcp1252.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <memory>

TFormSelDir::TFormSelDir(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      Panel1(new QWidget(this)),
      Img(new QLabel(Panel1)),
      Label3(new QLabel(Panel1)),
      Label4(new QLabel(Panel1)),
      Label1(new QLabel(this)),
      DriveCB(new QComboBox(this)),
      DirLB(new QTreeView(this)),
      Label2(new QLabel(QStringLiteral("Directorio:"), this)),
      Panel2(new QWidget(this)),
      BtnAceptar(new QPushButton(Panel2)),
      BtnCancelar(new QPushButton(Panel2)),
      m_modelo(new QFileSystemModel(this))
{
    setObjectName(QStringLiteral("FormSelDir"));
    setWindowTitle(QStringLiteral("Orvanta"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Base);
    Img->setPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(32, 32));
    QFont negrita = Label3->font();
    negrita.setBold(true);
    Label3->setFont(negrita);
    Label4->setWordWrap(true);
    auto *arriba = new QHBoxLayout(Panel1);
    arriba->addWidget(Img, 0, Qt::AlignTop);
    auto *textos = new QVBoxLayout;
    textos->addWidget(Label3);
    textos->addWidget(Label4);
    arriba->addLayout(textos, 1);

    m_modelo->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_modelo->setRootPath(QDir::rootPath());
    DirLB->setObjectName(QStringLiteral("DirLB"));
    DirLB->setModel(m_modelo);
    for (int columna = 1; columna < m_modelo->columnCount(); ++columna)
        DirLB->hideColumn(columna);
    DirLB->header()->hide();
    DirLB->setMinimumSize(360, 240);
    DriveCB->setObjectName(QStringLiteral("DriveCB"));
    for (const QStorageInfo &volumen : QStorageInfo::mountedVolumes())
        if (volumen.isValid() && volumen.isReady())
            DriveCB->addItem(volumen.rootPath());

    BtnAceptar->setDefault(true);
    auto *abajo = new QHBoxLayout(Panel2);
    abajo->addStretch();
    abajo->addWidget(BtnAceptar);
    abajo->addWidget(BtnCancelar);

    auto *capas = new QVBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->addWidget(Panel1);
    auto *centro = new QVBoxLayout;
    centro->setContentsMargins(9, 6, 9, 0);
    centro->addWidget(Label1);
    centro->addWidget(DriveCB);
    centro->addWidget(Label2);
    centro->addWidget(DirLB, 1);
    capas->addLayout(centro, 1);
    capas->addWidget(Panel2);

    connect(BtnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(DriveCB, &QComboBox::textActivated, this, &TFormSelDir::DriveCBChange);
}

void TFormSelDir::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFormSelDir::FormShow()
{
    Label3->setText(Rotulo(428));
    Label4->setText(Rotulo(429));
    Label1->setText(Rotulo(430));
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
}

void TFormSelDir::DriveCBChange()
{
    SetDirectory(cp1252::fromQString(DriveCB->currentText()));
}

void TFormSelDir::SetDirectory(const std::string &carpeta)
{
    const QModelIndex indice = m_modelo->index(QDir::cleanPath(cp1252::toQString(carpeta)));
    DirLB->setCurrentIndex(indice);
    DirLB->scrollTo(indice);
}

std::string TFormSelDir::GetDirectory() const
{
    return cp1252::fromQString(m_modelo->filePath(DirLB->currentIndex()));
}

bool TFormSelDir::Execute()
{
    return exec() == QDialog::Accepted;
}

std::string SeleccionaDirectorio(QWidget *owner, const std::string &carpeta)
{
    const auto selector = std::make_unique<TFormSelDir>(owner);
    const QString ruta = cp1252::toQString(carpeta);
    if (!QDir(ruta).exists()) {
        const std::string pregunta = FormateaTexto(Idioma.GetTexto(578), carpeta);
        if (CajaMensaje(pregunta, Idioma.GetTexto(6), IconoMensaje::Ninguno, BotonesMensaje::SiNo) != RespuestaSi)
            return carpeta;
        QDir().mkdir(ruta);
    }
    selector->SetDirectory(carpeta);
    return selector->Execute() ? selector->GetDirectory() : carpeta;
}
