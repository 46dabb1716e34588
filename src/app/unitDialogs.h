#pragma once
// The program's message boxes. Every box goes through one replaceable answerer:
// in the running program it is an ordinary QMessageBox; a test installs its own
// to queue answers and read what was shown.
#include <QString>
#include <QStringList>
#include <functional>

enum class MessageKind { Question, Information, Plain, Error, Choice };
enum class MessageAnswer { Yes, No, Cancel, Ok };

struct MessageRequest {
    MessageKind kind;
    QString title;
    QString text;
    // A question's button captions in Yes, No, Cancel order ("&Yes", "&No",
    // "Cancel" unless the question names its own; no No button when it is empty).
    QStringList buttons;
    // The button Enter presses: Yes unless the question is one where the safe
    // answer is the last (Cancel).
    MessageAnswer defaultAnswer = MessageAnswer::Yes;
};

using MessageAnswerer = std::function<MessageAnswer(const MessageRequest&)>;

// Installs an answerer; an empty function restores the standard message boxes.
void SetMessageAnswerer(MessageAnswerer answerer);

// "Confirm" box with "&Yes", "&No" and "Cancel"; closing the box counts as Cancel.
MessageAnswer AskYesNoCancel(const QString& text);
// The same box with buttons named for what they do: Yes stands for the first
// choice, No for the second (left out when its caption is empty), Cancel for
// the last, which closing the box also gives.
MessageAnswer AskChoice(const QString& text, const QString& yesCaption, const QString& noCaption,
                        const QString& cancelCaption, MessageAnswer defaultAnswer = MessageAnswer::Yes);
// "Information" box with "OK".
void ShowInformation(const QString& text);
// A question with two answers of its own, titled with the application title:
// Yes stands for the first caption, No for the second (also when the box is
// closed).
MessageAnswer AskTwoWays(const QString& text, const QString& first, const QString& second);
// Box titled with the application title, with "OK".
void ShowPlainMessage(const QString& text);
// Error box: application title as caption, the full-stop rule applied to the text.
void ShowErrorBox(const QString& text);

// A full stop is appended when the last character sorts after "." in character code.
QString ApplyFullStopRule(const QString& text);
