#include "app/unitDialogs.h"

#include "app/unitAppInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageAnswerer& currentAnswerer()
{
    static MessageAnswerer answerer;
    return answerer;
}

MessageAnswer showStandardBox(const MessageRequest& request)
{
    QWidget* parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    // A message often quotes what a user typed: it is shown as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    switch (request.kind) {
    case MessageKind::Question: {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(request.buttons.value(0), QMessageBox::YesRole);
        QPushButton* no =
            request.buttons.value(1).isEmpty() ? nullptr : box.addButton(request.buttons.value(1), QMessageBox::NoRole);
        QPushButton* cancel = box.addButton(request.buttons.value(2), QMessageBox::RejectRole);
        box.setDefaultButton(request.defaultAnswer == MessageAnswer::Cancel ? cancel
                             : request.defaultAnswer == MessageAnswer::No && no ? no
                                                                                 : yes);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == yes) return MessageAnswer::Yes;
        if (no && box.clickedButton() == no) return MessageAnswer::No;
        return MessageAnswer::Cancel;
    }
    case MessageKind::Choice: {
        box.setIcon(QMessageBox::Warning);
        QPushButton* first = box.addButton(request.buttons.value(0), QMessageBox::AcceptRole);
        QPushButton* second = box.addButton(request.buttons.value(1), QMessageBox::RejectRole);
        box.setDefaultButton(first);
        box.setEscapeButton(second);
        box.exec();
        return box.clickedButton() == first ? MessageAnswer::Yes : MessageAnswer::No;
    }
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Plain: box.setIcon(QMessageBox::NoIcon); break;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return MessageAnswer::Ok;
}

MessageAnswer show(MessageKind kind, const QString& title, const QString& text, const QStringList& buttons = {},
                   MessageAnswer defaultAnswer = MessageAnswer::Yes)
{
    const MessageRequest request{kind, title, text, buttons, defaultAnswer};
    if (currentAnswerer()) return currentAnswerer()(request);
    return showStandardBox(request);
}

} // namespace

void SetMessageAnswerer(MessageAnswerer answerer) { currentAnswerer() = std::move(answerer); }

MessageAnswer AskYesNoCancel(const QString& text)
{
    return AskChoice(text, QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel"));
}

MessageAnswer AskChoice(const QString& text, const QString& yesCaption, const QString& noCaption,
                        const QString& cancelCaption, MessageAnswer defaultAnswer)
{
    return show(MessageKind::Question, QStringLiteral("Confirm"), text, {yesCaption, noCaption, cancelCaption},
                defaultAnswer);
}

void ShowInformation(const QString& text)
{
    show(MessageKind::Information, QStringLiteral("Information"), text);
}

MessageAnswer AskTwoWays(const QString& text, const QString& first, const QString& second)
{
    return show(MessageKind::Choice, GetProductName(), text, {first, second});
}

void ShowPlainMessage(const QString& text) { show(MessageKind::Plain, GetProductName(), text); }

QString ApplyFullStopRule(const QString& text)
{
    if (!text.isEmpty() && text.back() > QChar('.')) return text + '.';
    return text;
}

void ShowErrorBox(const QString& text)
{
    show(MessageKind::Error, GetProductName(), ApplyFullStopRule(text));
}
