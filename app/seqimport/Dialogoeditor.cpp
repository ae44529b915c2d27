// What the template editor's kind and field dialogs share.
#include "Dialogoeditor.h"

#include "Frmmsg.h"
#include "Multiidioma.h"
#include "Unidefinirimport.h"

#include <QLineEdit>
#include <QTreeWidget>

TDialogoEditor::TDialogoEditor(QWidget *parent) : QDialog(parent), m_dueno(parent)
{
}

void TDialogoEditor::Toma(TFRMDefinirimport *editor, int modo, QTreeWidgetItem *nodo)
{
    m_listo = false;
    m_editor = editor;
    m_nodo = nodo;
    m_modo = modo;
    if (parentWidget() != editor)
        setParent(editor, Qt::Tool | Qt::WindowStaysOnTopHint);
    editor->Tree2->setEnabled(false);
}

void TDialogoEditor::Suelta()
{
    hide();
    m_editor = nullptr;
    m_nodo = nullptr;
    setParent(m_dueno, Qt::Dialog);
}

bool TDialogoEditor::ZonaValida(QLineEdit *caja)
{
    if (!m_listo || !m_editor)
        return false;
    if (caja->text().toInt() == 0) {
        caja->setText(QStringLiteral("1"));
        caja->selectAll();
        return false;
    }
    return true;
}

void TDialogoEditor::Respuesta(bool aceptada, const std::string &error)
{
    if (aceptada)
        close();
    else if (!error.empty())
        CajaMensaje(error, Idioma.GetTexto(1), IconoMensaje::Error, BotonesMensaje::Ok, this);
}

void TDialogoEditor::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (m_editor)
        move(m_editor->pos() + QPoint(300, 200));
    FormShow();
}

void TDialogoEditor::hideEvent(QHideEvent *evento)
{
    if (m_editor)
        m_editor->Tree2->setEnabled(true);
    QDialog::hideEvent(evento);
}
