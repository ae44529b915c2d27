// Fixtures of the grid tests: the main window shown offscreen on the shipped database, an
// organisation written into it, the selection of tree nodes and the cells of the grids.
#pragma once

#include "Frmmsg.h"
#include "ModeloRecibos.h"
#include "arranque.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace rejillas {

// Company 1 with the CSB19 presenter 1 (issuer 1, batches 1 and 2) and the CSB58 presenter 2
// (issuer 2, batch 3); drawees 1 and 2 of issuer 1 and 3 of issuer 2.
inline const char *const kOrganizacion[] = {
    "INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre) VALUES (1,1,'B1','Empresa')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
    "VALUES (1,1,'CSB19','B11111111','000','Norte')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
    "VALUES (2,1,'CSB58','B22222222','001','Sur')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Razon_social,Cuenta_abono) "
    "VALUES (1,1,'A11111111','Emisor A','21000418450200051332')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Razon_social,Cuenta_abono) "
    "VALUES (2,2,'C22222222','Emisor C','20590060212084518352')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Con_emision,Descripcion,F_alta,Importe_total,"
    "Contravalor_total) VALUES (1,1,'EUR',1,'Enero','2024/01/15',1234.5,205399)",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Con_emision,Descripcion,F_alta,F_generacion,"
    "Importe_total,Contravalor_total) VALUES (2,1,'ESP',0,'Febrero','2024/02/01','2024/02/20',1000,6.01)",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (3,2,'EUR','Marzo')",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
    "VALUES (1,1,'R1','\xC1lvarez','21000418450200051332')",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
    "VALUES (2,1,'R2','Bravo & Hijos','20590060212084518352')",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
    "VALUES (3,2,'R3','Cerezo','00000000000000000000')",
};

// Inserts cuantos bills of the batch in one statement, drawn in turn from the drawees
// primerLibrado .. primerLibrado + librados - 1, amounts 1.00, 2.00 ...
inline std::string RecibosEnSerie(int remesa, int cuantos, int primerLibrado = 1, int librados = 2)
{
    return "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,F_vencimiento) "
           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
           std::to_string(cuantos) + ") SELECT " + std::to_string(remesa) + "," + std::to_string(primerLibrado) +
           "+(i % " + std::to_string(librados) + "),i,i*166,'2024/06/30' FROM n";
}

// The text of a cell of a grid, row in grid numbering (0 the titles).
inline std::string Texto(const QTableView *grid, int fila, int columna)
{
    const QVariant valor = fila == 0 ? grid->model()->headerData(columna, Qt::Horizontal)
                                     : grid->model()->index(fila - 1, columna).data();
    return cp1252::fromQString(valor.toString());
}

// What the message dialog (ShowMsg) showed, answered with its first button.
class RespondeMensajes {
public:
    RespondeMensajes()
        : m_respondedor([this](TFormMsg *d) {
              Textos.push_back(cp1252::fromQString(d->LblText->text()));
              d->BtnOk->click();
          })
    {
    }
    std::vector<std::string> Textos;

private:
    Respondedor<TFormMsg> m_respondedor;
};

class Rejillas : public ::testing::Test {
protected:
    void SetUp() override
    {
        m = ventanas.Main();
        for (const char *sql : kOrganizacion)
            ASSERT_TRUE(arranque::Ejecuta(sql)) << sql;
        m->SaltarLogin = true; // the tests act as the logged-in user
        m->show();
        ASSERT_TRUE(arranque::Espera([this] { return m->GridsActivos; }));
        m->RefrescaTextos();
        m->MuestraEmpresa(1);
        probador = std::make_unique<QAbstractItemModelTester>(
            m->ModeloRecibos, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }

    // The tree node of the level and id.
    QTreeWidgetItem *Nodo(int nivel, int id) const
    {
        for (QTreeWidgetItemIterator i(m->treeInfoGlobal); *i; ++i)
            if (TFormMain::GetNivelNodo(*i) == nivel && TFormMain::IdNodo(*i) == std::to_string(id))
                return *i;
        return nullptr;
    }

    // Selects the node and waits for the window to show its grid.
    void Selecciona(int nivel, int id)
    {
        QTreeWidgetItem *nodo = Nodo(nivel, id);
        ASSERT_NE(nodo, nullptr) << "level " << nivel << " id " << id;
        m->treeInfoGlobal->setCurrentItem(nodo);
        ASSERT_TRUE(arranque::Espera([&] { return m->statusPanel[4]->text() == nodo->text(0); }));
    }

    // Clicks the column's title.
    static void ClicTitulo(QTableView *grid, int columna)
    {
        QHeaderView *cabecera = grid->horizontalHeader();
        QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {},
                          QPoint(cabecera->sectionViewportPosition(columna) + cabecera->sectionSize(columna) / 2, 5));
    }

    // Clicks data row fila (grid numbering) of the bills grid with the keys held.
    void ClicRecibo(int fila, Qt::KeyboardModifiers teclas = {}) const
    {
        QTableView *grid = m->lstGridDocumentos;
        grid->scrollTo(m->ModeloRecibos->index(fila - 1, 3));
        const QRect celda = grid->visualRect(m->ModeloRecibos->index(fila - 1, 3));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, teclas, celda.center());
    }

    // The marked rows of the bills grid, in grid numbering.
    std::vector<int> Marcadas() const
    {
        std::vector<int> filas;
        for (int f = 0; f < m->ModeloRecibos->rowCount(); ++f)
            if (m->ModeloRecibos->Marcada(f))
                filas.push_back(f + 1);
        return filas;
    }

    arranque::Carpeta carpeta;
    arranque::Ventanas ventanas;
    TFormMain *m = nullptr;
    std::unique_ptr<QAbstractItemModelTester> probador;
};

} // namespace rejillas
