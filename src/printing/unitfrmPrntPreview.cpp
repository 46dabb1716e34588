#include "printing/unitfrmPrntPreview.h"

#include "app/unitAppInfo.h"
#include "app/unitErrorHandler.h"
#include "app/unitScreenParts.h"
#include "printing/unitReportOutput.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kZoomStep = 10;
constexpr int kZoomFloor = 10;
}

TfrmPrntPreview::TfrmPrntPreview(const QString& title, ReportDocument document, std::function<void()> printAction,
                                 QWidget* parent)
    : QDialog(parent), m_document(std::move(document)), m_printAction(std::move(printAction))
{
    setObjectName(QStringLiteral("frmPrntPreview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(900, 700);

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tlbarPreview"));
    tlbtnClose = AddToolBarButton(toolBar, QStringLiteral("tlbtnClose"), Qt::ToolButtonTextOnly);
    tlbtnPrint = AddToolBarButton(toolBar, QStringLiteral("tlbtnPrint"), Qt::ToolButtonTextOnly);
    tlbtnBack = AddToolBarButton(toolBar, QStringLiteral("tlbtnBack"), Qt::ToolButtonTextOnly);
    tlbtnNext = AddToolBarButton(toolBar, QStringLiteral("tlbtnNext"), Qt::ToolButtonTextOnly);
    tlbtnZoomIn = AddToolBarButton(toolBar, QStringLiteral("tlbtnZoomIn"), Qt::ToolButtonTextOnly);
    tlbtnZoomOut = AddToolBarButton(toolBar, QStringLiteral("tlbtnZoomOut"), Qt::ToolButtonTextOnly);
    tlbtnHelp = AddToolBarButton(toolBar, QStringLiteral("tlbtnHelp"), Qt::ToolButtonTextOnly);

    // The preview paints on a printer set up exactly like the real one.
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    SetupReportPrinter(*m_printer);
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("pvwPages"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) { paintPages(target); });

    // The mouse wheel does nothing in this window.
    for (QGraphicsView* view : m_preview->findChildren<QGraphicsView*>()) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_preview, 1);

    connect(tlbtnClose, &QToolButton::clicked, this, [this] { RunGuarded([this] { reject(); }); });
    connect(tlbtnPrint, &QToolButton::clicked, this, [this] {
        RunGuarded([this] {
            if (m_printAction) m_printAction();
        });
    });
    connect(tlbtnBack, &QToolButton::clicked, this, [this] {
        RunGuarded([this] {
            if (currentPage() > 1) showPage(currentPage() - 1);
            pSetButtonStates();
        });
    });
    connect(tlbtnNext, &QToolButton::clicked, this, [this] {
        RunGuarded([this] {
            if (currentPage() < pageCount()) showPage(currentPage() + 1);
            pSetButtonStates();
        });
    });
    connect(tlbtnZoomIn, &QToolButton::clicked, this, [this] {
        RunGuarded([this] {
            m_zoomPercent += kZoomStep;
            applyZoom();
        });
    });
    connect(tlbtnZoomOut, &QToolButton::clicked, this, [this] {
        RunGuarded([this] {
            if (m_zoomPercent <= kZoomFloor) return;
            m_zoomPercent -= kZoomStep;
            applyZoom();
        });
    });
    connect(tlbtnHelp, &QToolButton::clicked, this, [] { RunGuarded([] { OpenHelpFile(); }); });

    pShowFormInformation(title);
    // Generate the pages now, so the page count is known before the first show.
    m_preview->updatePreview();
    applyZoom();
    showPage(1);
    pSetButtonStates();
}

TfrmPrntPreview::~TfrmPrntPreview()
{
    // The page area paints on the printer; it goes first.
    delete m_preview;
}

void TfrmPrntPreview::pShowFormInformation(const QString& title)
{
    setWindowTitle(title);
    const struct {
        QToolButton* button;
        const char* caption;
        const char* hint;
    } buttons[] = {{tlbtnClose, "Close", "Close Print Preview"},
                   {tlbtnPrint, "Print", "Print document"},
                   {tlbtnBack, "Back", "Preview Previous document"},
                   {tlbtnNext, "Next", "Preview Next document"},
                   {tlbtnZoomIn, "Zoom In", "Zoom in document"},
                   {tlbtnZoomOut, "Zoom Out", "Zoom out document"},
                   {tlbtnHelp, "Help", "Open Help"}};
    for (const auto& item : buttons) {
        item.button->setText(QString::fromLatin1(item.caption));
        item.button->setToolTip(QString::fromLatin1(item.hint));
    }
}

int TfrmPrntPreview::currentPage() const { return m_preview->currentPage(); }

int TfrmPrntPreview::pageCount() const { return m_preview->pageCount(); }

void TfrmPrntPreview::pSetButtonStates()
{
    const int pages = pageCount();
    const int page = currentPage();
    if (pages <= 1) {
        tlbtnBack->setEnabled(false);
        tlbtnNext->setEnabled(false);
        return;
    }
    tlbtnBack->setEnabled(page > 1);
    tlbtnNext->setEnabled(page < pages);
}

void TfrmPrntPreview::applyZoom()
{
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(m_zoomPercent / 100.0);
    // The widget does not always announce a zoom change; read it back.
    m_zoomPercent = qRound(m_preview->zoomFactor() * 100.0);
}

void TfrmPrntPreview::paintPages(QPrinter* printer)
{
    RunGuarded([&] { PrintReportDocument(m_document, *printer); });
}

void TfrmPrntPreview::showPage(int pageNumber)
{
    m_preview->setCurrentPage(pageNumber);
    // The page area centres the page; a reader starts at its top, so scroll
    // there, leaving a small margin above it.
    auto* view = m_preview->findChild<QGraphicsView*>();
    if (!view || !view->scene()) return;
    QList<QRectF> pages;
    for (QGraphicsItem* item : view->scene()->items())
        if (!item->parentItem()) pages << item->sceneBoundingRect();
    std::sort(pages.begin(), pages.end(), [](const QRectF& a, const QRectF& b) { return a.top() < b.top(); });
    if (pageNumber < 1 || pageNumber > pages.size()) return;
    const QRectF page = pages[pageNumber - 1];
    const double scaleX = view->transform().m11();
    const double scaleY = view->transform().m22();
    if (scaleX <= 0 || scaleY <= 0) return;
    const double visibleWidth = view->viewport()->width() / scaleX;
    const double visibleHeight = view->viewport()->height() / scaleY;
    const double marginX = page.width() * 0.05;
    // A page wider than the window is shown from its left edge, a narrower one centred.
    const double x = page.width() + 2 * marginX > visibleWidth ? page.left() - marginX + visibleWidth / 2
                                                               : page.center().x();
    view->centerOn(x, page.top() - page.height() * 0.05 + visibleHeight / 2);
}

void TfrmPrntPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once the window has its size, start at the top of the page shown.
    QTimer::singleShot(0, this, [this] { showPage(currentPage()); });
    pSetButtonStates();
}

bool TfrmPrntPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) return true;
    return QDialog::eventFilter(watched, event);
}
