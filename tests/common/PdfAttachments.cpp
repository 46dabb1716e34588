#include "common/PdfAttachments.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

namespace {

QByteArray Output(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        QTest::qFail(qPrintable(program + QStringLiteral(" did not run")), __FILE__, __LINE__);
        return {};
    }
    if (exitCode) *exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

} // namespace

QByteArray ShowAttachment(const QString& pdf, const QString& name)
{
    int exitCode = 0;
    const QByteArray bytes =
        Output(QStringLiteral("qpdf"), {QStringLiteral("--show-attachment=") + name, pdf}, &exitCode);
    if (exitCode != 0) QTest::qFail(qPrintable(pdf + QStringLiteral(" has no attachment ") + name), __FILE__, __LINE__);
    return exitCode == 0 ? bytes : QByteArray();
}

QStringList AttachmentNames(const QString& pdf)
{
    QStringList names;
    const QString listing = QString::fromUtf8(Output(QStringLiteral("qpdf"), {QStringLiteral("--list-attachments"), pdf}));
    for (const QString& line : listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1Char(' ')) && line.contains(QLatin1String(" -> ")))
            names << line.section(QStringLiteral(" -> "), 0, 0);
    return names;
}

QString XmpMetadata(const QString& pdf)
{
    return QString::fromUtf8(Output(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf}));
}

QStringList FontsNotEmbedded(const QString& pdf)
{
    int exitCode = 0;
    const QStringList lines =
        QString::fromUtf8(Output(QStringLiteral("pdffonts"), {pdf}, &exitCode)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // name, type (one or two words), encoding, emb, sub, uni, object, id
    QStringList missing;
    int fonts = 0;
    for (const QString& line : lines.mid(2)) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() < 7) continue;
        ++fonts;
        const QString embedded = fields.at(fields.size() - 5);
        if (embedded != QLatin1String("yes")) missing << fields.first();
    }
    if (exitCode != 0 || fonts == 0) QTest::qFail(qPrintable(QStringLiteral("pdffonts lists no font")), __FILE__, __LINE__);
    return missing;
}

QJsonObject PdfObjects(const QString& pdf)
{
    const QJsonDocument json = QJsonDocument::fromJson(
        Output(QStringLiteral("qpdf"), {QStringLiteral("--json=2"), QStringLiteral("--json-key=qpdf"), pdf}));
    const QJsonArray parts = json.object().value(QStringLiteral("qpdf")).toArray();
    QJsonObject objects;
    const QJsonObject all = parts.size() > 1 ? parts.at(1).toObject() : QJsonObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        objects.insert(it.key(), entry.contains(QStringLiteral("value")) ? entry.value(QStringLiteral("value"))
                                                                         : QJsonValue(entry));
    }
    return objects;
}

QJsonValue Resolve(const QJsonObject& objects, const QJsonValue& value)
{
    if (value.isString() && value.toString().endsWith(QLatin1String(" R")))
        return objects.value(QStringLiteral("obj:") + value.toString());
    return value;
}
