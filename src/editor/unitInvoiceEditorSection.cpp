#include "editor/unitInvoiceEditorSection.h"

#include <QToolButton>
#include <QVBoxLayout>

TInvoiceEditorSection::TInvoiceEditorSection(const QString& name, const QString& caption, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(name);
    m_header = new QToolButton(this);
    m_header->setObjectName(name + QStringLiteral("Header"));
    m_header->setText(caption);
    m_header->setCheckable(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_header->setStyleSheet(QStringLiteral("QToolButton { font-weight: bold; text-align: left; }"));

    m_content = new QWidget(this);
    m_content->setObjectName(name + QStringLiteral("Content"));
    m_contentLayout = new QVBoxLayout(m_content);
    m_contentLayout->setContentsMargins(12, 4, 4, 8);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_content);

    connect(m_header, &QToolButton::toggled, this, [this](bool on) {
        m_content->setVisible(on);
        m_header->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
    });
    setExpanded(true);
}

bool TInvoiceEditorSection::isExpanded() const { return m_header->isChecked(); }

void TInvoiceEditorSection::setExpanded(bool expanded)
{
    m_header->setChecked(expanded);
    m_content->setVisible(expanded);
    m_header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
}

QString TInvoiceEditorSection::caption() const { return m_header->text(); }

void TInvoiceEditorSection::setCaption(const QString& caption) { m_header->setText(caption); }
