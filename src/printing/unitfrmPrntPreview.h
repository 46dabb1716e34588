#pragma once
// The print preview: the generated pages of one job in a scrolling page area,
// with a toolbar to page back and forth, zoom, print the job again and close.
#include "printing/unitReportEngine.h"

#include <QDialog>
#include <functional>
#include <memory>

class QPrintPreviewWidget;
class QPrinter;
class QToolButton;

class TfrmPrntPreview : public QDialog {
    Q_OBJECT

public:
    // printAction runs the current print job again to the printer.
    TfrmPrntPreview(const QString& title, ReportDocument document, std::function<void()> printAction,
                    QWidget* parent = nullptr);
    ~TfrmPrntPreview() override;

    int currentPage() const;
    int pageCount() const;
    int zoomPercent() const { return m_zoomPercent; }

    // Back/Next states: with one page both disabled, else Back disabled on the
    // first page and Next on the last.
    void pSetButtonStates();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pShowFormInformation(const QString& title);
    void paintPages(QPrinter* printer);
    void applyZoom();
    void showPage(int pageNumber);

    ReportDocument m_document;
    std::function<void()> m_printAction;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QToolButton* tlbtnClose = nullptr;
    QToolButton* tlbtnPrint = nullptr;
    QToolButton* tlbtnBack = nullptr;
    QToolButton* tlbtnNext = nullptr;
    QToolButton* tlbtnZoomIn = nullptr;
    QToolButton* tlbtnZoomOut = nullptr;
    QToolButton* tlbtnHelp = nullptr;
    int m_zoomPercent = 100;
};
