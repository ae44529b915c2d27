// Fixtures of the start-up tests.
#include "arranque.h"

#include "Aplicacion.h"
#include "Cerrando.h"
#include "Frmcfg.h"
#include "Login.h"
#include "Programa.h"
#include "Recordeuro.h"
#include "Uniintro.h"
#include "General.h"
#include "basedatos.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace arranque {

Carpeta::Carpeta()
{
    std::filesystem::create_directory(Ruta("BD"));
    std::filesystem::copy_file(SHIPPED_MCR, Ruta("BD/Orvanta.mcr"));
}

Ventanas::Ventanas()
{
    CreaVentanas();
}

Ventanas::~Ventanas()
{
    DestruyeVentanas();
}

TFormMain *Ventanas::Main() const
{
    return App().FormMain;
}

VigilaAvisos::VigilaAvisos()
{
    qApp->installEventFilter(this);
}

VigilaAvisos::~VigilaAvisos()
{
    qApp->removeEventFilter(this);
}

bool VigilaAvisos::eventFilter(QObject *objeto, QEvent *evento)
{
    if (auto *aviso = qobject_cast<TFormCerrando *>(objeto); aviso && evento->type() == QEvent::Show) {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        Vistos.push_back({aviso->lblCerrando->text(), cursor && cursor->shape() == Qt::WaitCursor});
    }
    return false;
}

bool HastaTerminar(const std::function<void()> &accion)
{
    bool terminado = true;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, [&terminado] {
        terminado = false;
        QCoreApplication::exit(1);
    });
    limite.start(60000);
    // accion runs from the program's own loop, not from inside a modal window's.
    QTimer arranque;
    QObject::connect(&arranque, &QTimer::timeout, [&] {
        if (QThread::currentThread()->loopLevel() == 1 && !QApplication::activeModalWidget()) {
            arranque.stop();
            accion();
        }
    });
    arranque.start(10);
    QApplication::exec();
    return terminado;
}

bool Espera(const std::function<bool()> &condicion, int milisegundos)
{
    QElapsedTimer reloj;
    reloj.start();
    while (!condicion()) {
        if (reloj.elapsed() > milisegundos)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void CierraAvisos()
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (qobject_cast<TFRMIntroduccion *>(modal) || qobject_cast<TFRMRecordeuro *>(modal)) {
            QTest::keyClick(modal, Qt::Key_Escape);
        } else if (qobject_cast<TFormLogin *>(modal)) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
}

void Login(bool cancelar)
{
    CierraAvisos();
    AlMostrarse<TFormLogin>([cancelar](TFormLogin *login) {
        if (cancelar) {
            login->cbtCancel->click();
            return;
        }
        login->txtPassword->setText(QStringLiteral("cambiame"));
        login->cbtOK->click();
        login->cbtOK->click();
    });
}

void Sale()
{
    RespondeCajas si({QMessageBox::Yes});
    EXPECT_TRUE(App().FormMain->FormClose());
}

void Responde(int boton, std::string *texto, std::string *titulo)
{
    AlMostrarse<QMessageBox>([=](QMessageBox *caja) {
        if (texto)
            *texto = cp1252::fromQString(caja->text());
        if (titulo)
            *titulo = cp1252::fromQString(caja->windowTitle());
        caja->button(QMessageBox::StandardButton(boton))->click();
    });
}

std::vector<CajaVista> Configura(TFormMain *m, const std::function<void(TFormCfg *)> &accion)
{
    RespondeCajas cajas;
    AlMostrarse<TFormCfg>([accion](TFormCfg *cfg) {
        accion(cfg);
        cfg->BtnAceptar->click();
        if (cfg->isVisible())
            cfg->BtnCancelar->click();
    });
    m->mainmenuConfiguracion->trigger();
    return cajas.Vistas;
}

bool Ejecuta(const std::string &sql)
{
    std::string error;
    return basedatos::exec(sql, error) >= 0;
}

std::string Valor(const std::string &sql, const std::string &campo)
{
    const basedatos::Result r = basedatos::query(sql);
    return r.rows.empty() ? std::string() : basedatos::field(r.rows.front(), campo);
}

bool LlenaRemesas(int recibos)
{
    const int remesas = std::max(1, (recibos + 9999) / 10000);
    const std::string librados = std::to_string(std::clamp(recibos / 250, 1, 2000));
    const std::string n = std::to_string(recibos), porRemesa = std::to_string((recibos + remesas - 1) / remesas);
    const std::string serie = "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k+1 FROM n WHERE k+1<";
    const std::string fecha = "printf('%04d/%02d/%02d',2000+k%20,1+k%12,1+k%28)";
    const std::string sentencias[] = {
        "INSERT INTO [_Empresas( Datos )] (Id_usuario,Cif,Nombre,Cuenta) "
        "VALUES (1,'B00000001','Riegos del Norte','00491500051234567892')",
        "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Clave_presentador,Id_nif,Sufijo,Razon_social) "
        "VALUES (1,'CSB19','B00000001000','B00000001','000','Riegos del Norte')",
        serie + "10) INSERT INTO [_Emisores( Datos )] (Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono,"
                "Cuenta_cargo) SELECT 1,'B00000001',printf('%03d',k),'Emisor '||k,'00491500051234567892',"
                "'00491500051234567892' FROM n",
        serie + librados +
            ") INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social,Cuenta,Titular_cuenta,"
            "Direccion,CP,Localidad,Provincia) SELECT 1+k%10,printf('%012d',k),"
            "printf('Suministros Agr\355colas N\372mero %05d, S.L.',k),"
            "printf('0049150005%010d',k),printf('Mar\355a del Carmen Fern\341ndez Garc\355a %05d',k),"
            "printf('Avenida de la Constituci\363n, %d, 3\272 izquierda',k),printf('%05d',28000+k%1000),"
            "'San Sebasti\341n de los Reyes','Madrid' FROM n",
        "INSERT INTO [Plantillas( Datos )] (Nombre) VALUES ('Cuota mensual')",
        serie + "8) INSERT INTO [Plantillas( Elementos )] (Id_plantilla,Datos) "
                "SELECT 1,printf('Nombre=Elemento%d&Tipo=Etiqueta&X=0&Y=%d&Ancho=80&Alto=1',k,k) FROM n",
        serie + std::to_string(remesas) +
            ") INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Id_plantilla,Descripcion,F_alta,F_generacion,"
            "Importe_total,Contravalor_total) SELECT 1+k%10,'EUR',CASE WHEN k%2=0 THEN 1 END,"
            "'Remesa de recibos '||k," + fecha + "," + fecha + ",0,0 FROM n",
        serie + std::to_string(remesas) +
            ") INSERT INTO [Historicos( Remesas )] (Id_remesa,Descripcion,F_generacion) "
            "SELECT 1+k,printf('historico/CSB19/%06d.csb',k)," + fecha + " FROM n",
        serie + n +
            ") INSERT INTO [Conceptos()] (Concepto) SELECT printf('Cuota %02d/%04d',1+k%12,2000+k%20) FROM n",
        serie + n +
            ") INSERT INTO [Documentos()] (Id_remesa,Id_librado,Id_concepto,Importe,Contravalor,Ref_interna,"
            "Primer_concepto,F_vencimiento) SELECT 1+k/" + porRemesa + ",1+k%" + librados +
            ",1+k,(1000+k%90000)/100.0,round((1000+k%90000)/100.0*166.386),printf('%010d',k),"
            "printf('Cuota %02d/%04d',1+k%12,2000+k%20)," + fecha + " FROM n",
    };
    if (VASQ_BeginTrans() != 0)
        return false;
    for (const std::string &sql : sentencias)
        if (!Ejecuta(sql)) {
            VASQ_Rollback();
            return false;
        }
    return VASQ_CommitTrans() == 0;
}

void DanaArbol(const Carpeta &carpeta, const char *arbol, size_t &desde, std::string &danado)
{
    ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
    const int raiz = std::atoi(Valor(std::string("SELECT rootpage FROM sqlite_master WHERE name='") + arbol + "'",
                                     "rootpage").c_str());
    VASQ_CloseDB();
    ASSERT_GT(raiz, 1) << arbol;
    desde = size_t(raiz - 1) * VASQ_PAGE_SIZE + 1024;
    danado.assign(1024, char(0xA5));
    std::string bytes = testutil::readFile(carpeta.BD());
    bytes.replace(desde, danado.size(), danado);
    testutil::writeFile(carpeta.BD(), bytes);
}

void PierdeEscritura(const Carpeta &carpeta, size_t &desde, std::string &pagina)
{
    auto cambia = [&](const char *sql) {
        ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
        ASSERT_TRUE(Ejecuta(std::string("UPDATE [Documentos()] SET ") + sql + " WHERE Id_documento BETWEEN 100 AND 110"));
        VASQ_CloseDB();
    };
    const std::string inicial = testutil::readFile(carpeta.BD());
    cambia("Ref_interna='perdida'"); // a column of no index: only the bills' page changes
    const std::string conFila = testutil::readFile(carpeta.BD());
    const std::vector<size_t> paginas = testutil::changedPages(inicial, conFila, VASQ_PAGE_SIZE);
    ASSERT_EQ(paginas.size(), 1u);
    cambia("Importe=Importe+1");
    std::string bytes = testutil::readFile(carpeta.BD());
    desde = paginas[0] * VASQ_PAGE_SIZE;
    pagina = conFila.substr(desde, VASQ_PAGE_SIZE);
    bytes.replace(desde, pagina.size(), pagina);
    testutil::writeFile(carpeta.BD(), bytes);
}

} // namespace arranque
