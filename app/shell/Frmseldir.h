// The folder picker: a tree of the folders of the file system with the volume list above
// it, and the choice of a folder through it.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

class TFormSelDir : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelDir(QWidget *parent = nullptr);

    // The folder shown current in the tree (Windows-1252 paths).
    void SetDirectory(const std::string &carpeta);
    std::string GetDirectory() const;
    // Shows the picker modally; true when it was closed with OK.
    bool Execute();

    QWidget *Panel1;
    QLabel *Img, *Label3, *Label4;
    QLabel *Label1;
    QComboBox *DriveCB; // the mounted volumes; choosing one shows it in the tree
    QTreeView *DirLB;
    QLabel *Label2;
    QWidget *Panel2;
    QPushButton *BtnAceptar, *BtnCancelar;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    void DriveCBChange();

    QFileSystemModel *m_modelo;
};

// The folder picker over owner: for a folder that does not exist, asks first whether to
// create it (No returns the folder without showing the picker; Yes creates that one level,
// a failure unreported). Returns the folder chosen with OK, else the given one.
std::string SeleccionaDirectorio(QWidget *owner, const std::string &carpeta);
