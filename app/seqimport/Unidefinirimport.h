// The import template editor: the user opens a sample of a customer's data file, marks on
// it the zone that tells each kind of line apart and the zones of its fields, links each
// field to a column of the field catalogue (tablas.dat), sets the options and saves the
// template (*.sec and *.opc) that the sequential import runs with.
//
// The trees show the editor's model: the catalogue (Tree1: tables, their columns) and the
// template (Tree2: record kinds, their fields), item for item in the same order. A field
// holds its link as the catalogue node of its column (Catalogo's numbering); a column is
// linked when a field names it. The kind and field dialogs (TFRMAltaLinea, TFRMAltaCampo)
// live for the whole run; while the editor is open they are its tool windows.
#pragma once

#include "Unitfichero.h"

#include <QDialog>
#include <string>

class ModeloMuestra;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

class TFRMDefinirimport : public QDialog {
    Q_OBJECT
public:
    explicit TFRMDefinirimport(QWidget *parent = nullptr);
    ~TFRMDefinirimport() override;

    void FormShow();
    void BTNAbrirClick();
    void BTNAbrirusuarioClick();
    void BTNOpcionesClick();
    void BTNAceptarClick();
    void BTNCancelarClick();
    void BTNNuevatablaClick();
    void BTNMasClick();
    void BTNModifClick();
    void BTNBorrarClick();
    void BTNAsociarClick();
    void BTNDespejarClick();
    void Tree1Change();
    void Tree2Change();
    void TXTValorChange();
    void TXTDescripcionExit();
    // A zone edit changed: bounds the three and moves the grid's selection.
    void TXTLineaChange(QLineEdit *caja);
    // The grid's selection into the zone edits and the open dialog.
    void ActualizarZona();

    // The dialogs' confirm: true when done, else the error text (empty: nothing to say).
    bool AltaTabla(std::string &error);
    bool AltaCampo(QTreeWidgetItem *nodo, std::string &error);
    bool ModificarNodo(QTreeWidgetItem *nodo, std::string &error);
    void BorrarCampo(QTreeWidgetItem *campo);

    // The edited template and catalogue, as the trees show them.
    const PlantillaImportacion &Plantilla() const { return m_plantilla; }
    const Catalogo &CatalogoCampos() const { return m_catalogo; }
    bool Modificado() const { return m_modificado; }
    int LineaActual() const { return m_linea; }

    QLabel *LBLArchivo;
    QTableView *Grid;
    ModeloMuestra *Muestra;
    QGroupBox *GroupBox1, *GroupBox2;
    QTreeWidget *Tree1, *Tree2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *TXTLinea, *TXTDesde, *TXTTam, *TXTValor, *TXTDescripcion, *TXTTipo, *TXTTamtv, *TXTTipotv;
    QPushButton *BTNAbrir, *BTNAbrirusuario, *BTNOpciones, *BTNAceptar, *BTNCancelar, *BTNNuevatabla, *BTNMas,
        *BTNModif, *BTNBorrar, *BTNAsociar, *BTNDespejar;
    QFileDialog *OpenDialog1, *SaveDiag1;

protected:
    void showEvent(QShowEvent *evento) override;
    // Closing asks first when the template has unsaved changes.
    void reject() override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void Construye();
    void PreparaRejilla();
    void AplicarTextosEditor();
    // The grid's mouse and keys (eventFilter).
    void GridMouseDown(const QPoint &punto);
    void GridCambio();
    // The zone edits set together, then bounded and shown once.
    void PonZona(int linea, int desde, int tamano);
    void SeleccionaZona(int linea, int desde, int tamano);

    void CargaCatalogo();
    void VaciaTipos();
    QTreeWidgetItem *AnadeTipo(const TipoRegistro &tipo);
    QTreeWidgetItem *AnadeCampo(QTreeWidgetItem *tipo, const CampoPlantilla &campo);
    // The model behind a kind-tree item (a field's kind for a field).
    TipoRegistro &Tipo(QTreeWidgetItem *item);
    CampoPlantilla &Campo(QTreeWidgetItem *campo);
    ColumnaCatalogo *Columna(int nodo);
    // Catalogue nodes and their items.
    int NodoColumna(QTreeWidgetItem *columna) const;
    QTreeWidgetItem *ItemColumna(int nodo) const;
    QTreeWidgetItem *ItemCampoEnlazado(int nodo) const;
    void PintaColumna(QTreeWidgetItem *columna);
    void PintaCampo(QTreeWidgetItem *campo);
    void Desenlaza(QTreeWidgetItem *campo);
    // Bold columns: the catalogue's marks, and the order type's on F_vencimiento (and NIE).
    void PintaRequeridos();
    void AplicaTipoOrden(bool conNIE);
    bool FaltanRequeridos() const;
    // A caption the template file can keep apart from the others (NombreRechazado); else the error text.
    bool NombreValido(const std::string &nombre, const TipoRegistro *tipo, const void *propio, std::string &error) const;
    bool DescriptorValido(const std::string &descriptor, std::string &error) const;
    // The zone's size (TXTTam) fits in a line; else the error text naming the field nombre
    // of the kind of nodo.
    bool CabeEnLinea(QTreeWidgetItem *nodo, const std::string &nombre, std::string &error);
    bool ModificarTipo(QTreeWidgetItem *nodo, std::string &error);
    bool ModificarCampo(QTreeWidgetItem *nodo, std::string &error);
    bool DialogoAbierto() const;
    // OpenDialog1 with the filter text and file name; the chosen file or "".
    std::string EligeFichero(int filtro, const char *nombre);
    bool PuedeCerrar();
    void Habilita(bool asociar, bool despejar);
    void SoltarDialogos();

    Catalogo m_catalogo;
    PlantillaImportacion m_plantilla;
    bool m_ocupado = false;
    bool m_modificado = false;
    bool m_arrastrando = false;
    bool m_teclas = false;
    bool m_zona = false; // the zone edits are being written by the editor itself
    int m_linea = 1;     // the current sample line
};
