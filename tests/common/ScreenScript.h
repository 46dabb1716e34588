#pragma once
// Driving screens as a person does, for the tests of the editor and its
// neighbours: widgets found by name, modal runs taken over one after another,
// rows clicked, customers and price items picked on the real pick screens.
#include "app/unitModalRunner.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <deque>
#include <functional>

template <typename T>
T* Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no widget %s", name);
    return child;
}

// Takes over the modal runs in the order they come: each run is shown and
// handed to the next step, which drives it and closes it.
class ModalScript {
public:
    using Step = std::function<void(QDialog&)>;
    ModalScript() : m_runner([this](QDialog& dialog) { return run(dialog); }) {}
    ModalScript& then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    bool allRun() const { return m_steps.empty(); }

private:
    int run(QDialog& dialog)
    {
        if (m_steps.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected screen ") + dialog.objectName()), __FILE__, __LINE__);
            return QDialog::Rejected;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        dialog.show();
        QCoreApplication::processEvents();   // lay out the lists and tool bars
        step(dialog);
        if (dialog.isVisible()) dialog.hide();   // a step that failed half-way
        return dialog.result();
    }

    std::deque<Step> m_steps;
    ScopedModalRunner m_runner;
};

inline void ClickRow(QTableView* list, int row)
{
    QCoreApplication::processEvents();
    int column = 0;   // the first column that is shown
    while (list->isColumnHidden(column) || list->columnWidth(column) == 0) ++column;
    const QRect cell = list->visualRect(list->model()->index(row, column));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

// "Use This Customer" on the customer in the given row of the customer screen.
inline ModalScript::Step UseCustomer(int row)
{
    return [row](QDialog& screen) {
        ClickRow(Find<QTableView>(screen, "lstvCustomers"), row);
        QTest::mouseClick(Find<QPushButton>(screen, "btnUseThisCust"), Qt::LeftButton);
    };
}

// "Add To Invoice" on the price item in the given row, with a quantity.
inline ModalScript::Step AddPriceItem(int row, const QString& quantity)
{
    return [row, quantity](QDialog& screen) {
        ClickRow(Find<QTableView>(screen, "lstPrice"), row);
        QTest::keyClicks(Find<QLineEdit>(screen, "txtQuantity"), quantity);
        QTest::mouseClick(Find<QPushButton>(screen, "btnAddPriceItnToInvoice"), Qt::LeftButton);
    };
}

// Chooses an entry as a click in the drop-down does.
inline void Choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}
