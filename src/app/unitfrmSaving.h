#pragma once
// The progress notice shown while data is saved, deleted or built. At most one
// exists at a time. Its timer ticks only while the event loop runs, so the bar
// does not move during the caller's work; afterwards the notice stays for the
// remaining ticks (at least 70 in all, at most 100) and then closes itself.
#include <QDialog>
#include <QString>

class QProgressBar;
class QTimer;

class TfrmSaving : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSaving(const QString& caption);

    int ticks() const;
    // One timer tick: the counter goes up by one; at 100 the notice closes itself.
    void tick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void disposeWhenFree();

    QProgressBar* prgbarSaving;
    QTimer* tmrFrmSaving;
};

// Shows the notice with the caption; does nothing while one is already shown.
void ShowSavingNotice(const QString& caption);
// Asks the notice to close; it accepts only once its counter is at 70 or more,
// otherwise it closes itself at 100.
void CloseSavingNotice();

// Shows the notice for the life of one piece of work and asks it to close on
// every way out, also when the work fails.
class TSavingNoticeScope {
public:
    explicit TSavingNoticeScope(const QString& caption) { ShowSavingNotice(caption); }
    ~TSavingNoticeScope() { CloseSavingNotice(); }
    TSavingNoticeScope(const TSavingNoticeScope&) = delete;
    TSavingNoticeScope& operator=(const TSavingNoticeScope&) = delete;
};

// The notice that is open, or nullptr.
TfrmSaving* CurrentSavingNotice();
// Length of one tick in milliseconds (about 15 by default).
int SavingNoticeTickMs();
void SetSavingNoticeTickMs(int milliseconds);
