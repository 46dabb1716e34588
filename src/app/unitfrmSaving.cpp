#include "app/unitfrmSaving.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kCloseAllowedAt = 70;
constexpr int kSelfCloseAt = 100;

QPointer<TfrmSaving> frmSaving;   // the open notice, cleared when it closes
int intSavingTicks = 0;           // the open notice's tick counter
int intTickMs = 15;

} // namespace

TfrmSaving::TfrmSaving(const QString& caption)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frmSaving"));
    // Never the active window: a message box shown meanwhile must not take the
    // notice as its parent, which closes and goes away by itself.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(caption);
    setModal(false);

    prgbarSaving = new QProgressBar(this);
    prgbarSaving->setObjectName(QStringLiteral("prgbarSaving"));
    prgbarSaving->setRange(0, 100);
    prgbarSaving->setValue(0);
    prgbarSaving->setTextVisible(false);
    prgbarSaving->setMinimumWidth(260);

    // The caption is repeated inside: a small window's title bar is easy to miss.
    auto* lblCaption = new QLabel(this);
    lblCaption->setTextFormat(Qt::PlainText);
    lblCaption->setText(caption);
    lblCaption->setObjectName(QStringLiteral("lblSavingCaption"));
    lblCaption->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addWidget(prgbarSaving);
    setFixedSize(sizeHint());

    tmrFrmSaving = new QTimer(this);
    tmrFrmSaving->setObjectName(QStringLiteral("tmrFrmSaving"));
    tmrFrmSaving->setInterval(intTickMs);
    connect(tmrFrmSaving, &QTimer::timeout, this, &TfrmSaving::tick);
    tmrFrmSaving->start();
}

int TfrmSaving::ticks() const { return intSavingTicks; }

void TfrmSaving::tick()
{
    if (intSavingTicks >= kSelfCloseAt) return;
    ++intSavingTicks;
    if (intSavingTicks < kSelfCloseAt) {
        prgbarSaving->setValue(intSavingTicks);
        return;
    }
    tmrFrmSaving->stop();
    prgbarSaving->setValue(kSelfCloseAt);
    close();
}

void TfrmSaving::showEvent(QShowEvent* event)
{
    intSavingTicks = 0;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TfrmSaving::closeEvent(QCloseEvent* event)
{
    if (intSavingTicks < kCloseAllowedAt) {
        event->ignore();
        return;
    }
    tmrFrmSaving->stop();
    if (frmSaving == this) frmSaving.clear();
    event->accept();
    QTimer::singleShot(0, this, &TfrmSaving::disposeWhenFree);
}

void TfrmSaving::disposeWhenFree()
{
    // A message box opened meanwhile may have taken the notice as its parent;
    // the notice must outlive it, or the box would be destroyed in mid-run.
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow()) {
            QTimer::singleShot(50, this, &TfrmSaving::disposeWhenFree);
            return;
        }
    }
    deleteLater();
}

void TfrmSaving::keyPressEvent(QKeyEvent* event)
{
    // Escape would reject the dialog behind the close rule's back.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowSavingNotice(const QString& caption)
{
    if (frmSaving) return;
    frmSaving = new TfrmSaving(caption);
    frmSaving->show();
    // Paint at once: the caller goes on working on this thread without
    // returning to the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (frmSaving) frmSaving->repaint();
}

void CloseSavingNotice()
{
    if (frmSaving) frmSaving->close();
}

TfrmSaving* CurrentSavingNotice() { return frmSaving.data(); }
int SavingNoticeTickMs() { return intTickMs; }
void SetSavingNoticeTickMs(int milliseconds) { intTickMs = milliseconds > 0 ? milliseconds : 1; }
