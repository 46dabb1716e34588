#pragma once
// A collapsible section of the editor's left column: a caption bar that opens
// and closes the section, and the section's content below it.
#include <QWidget>

class QToolButton;
class QVBoxLayout;

class TInvoiceEditorSection : public QWidget {
    Q_OBJECT
public:
    TInvoiceEditorSection(const QString& name, const QString& caption, QWidget* parent = nullptr);

    // The layout that holds the section's controls.
    QVBoxLayout* contentLayout() const { return m_contentLayout; }
    QWidget* content() const { return m_content; }

    bool isExpanded() const;
    void setExpanded(bool expanded);
    QString caption() const;
    void setCaption(const QString& caption);

private:
    QToolButton* m_header;
    QWidget* m_content;
    QVBoxLayout* m_contentLayout;
};
