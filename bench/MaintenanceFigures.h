#pragma once
// The invoice maintenance figures, the same on the file and on the server:
// the first screenful of mode 0 (chosen from another mode), a refill of the
// list, each key of a search as you type and the longest page while the list
// is scrolled to its end, each against the query of those rows run raw.
#include "ListFigures.h"

#include "maintenance/unitInvMaintenanceListModel.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

namespace bench {

inline void RunMaintenanceFigures(const QString& prefix, int documents,
                                  const std::function<void(const QString&, const QVariantList&)>& raw)
{
    {
        // The screen is opened from a running program whose main window is
        // already shown: fonts and style are loaded before the timing.
        QTableView warmUp;
        warmUp.show();
        warmUp.repaint();
        QCoreApplication::processEvents();
    }
    TfrmInvoiceMaintenance screen;
    screen.show();
    QCoreApplication::processEvents();
    auto* modes = screen.findChild<QComboBox*>(QStringLiteral("cmboInvMaintenanceType"));
    auto* search = screen.findChild<QComboBox*>(QStringLiteral("cmboInvSearch"));
    auto* text = screen.findChild<QLineEdit*>(QStringLiteral("txtInvSearch"));
    TInvMaintenanceListModel& model = screen.listModel();
    const auto& list = *screen.findChild<QTableView*>(QStringLiteral("lstvwInvMaintenance"));
    const auto allQuery = [] { return BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll, QString(), QString()); };
    const QString name = QStringLiteral("%1 %2 documents").arg(prefix).arg(documents);

    FirstScreenful(QStringLiteral("%1, first screenful").arg(name), list, [&] { modes->setCurrentIndex(1); },
                   [&] { modes->setCurrentIndex(0); }, allQuery, raw);
    FirstScreenful(QStringLiteral("%1, refill").arg(name), list, {}, [&] { screen.pQuerySavedInvoices(); }, allQuery,
                   raw);

    const QString lastName = QStringLiteral("Customer Last Name");
    search->setCurrentIndex(search->findText(lastName));
    SearchAsYouType(
        QStringLiteral("%1, search as you type %2,").arg(name, lastName), list, QStringLiteral("lastname12"),
        [&] {
            QSignalBlocker blocker(text);
            text->clear();
        },
        [&](QChar c) { text->setText(text->text() + c); },
        [&](const QString& typed) { return BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll, lastName, typed); },
        raw);

    search->setCurrentIndex(0);
    LongestPage(name, model);
}

} // namespace bench
