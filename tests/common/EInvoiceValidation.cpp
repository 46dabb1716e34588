#include "common/EInvoiceValidation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kArtefacts = QStringLiteral(FENNICK_TEST_SOURCE_DIR "/einvoice");

QString Run(const QString& program, const QStringList& arguments, int& exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(240000)) {
        exitCode = -1;
        return program + QStringLiteral(" did not run: ") + process.errorString();
    }
    exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAll());
}

// The fatal failed assertions of one SVRL report: "[BR-CO-10] text".
QStringList FatalRules(const QByteArray& svrl)
{
    QStringList rules;
    QXmlStreamReader reader(svrl);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != QLatin1String("failed-assert")) continue;
        if (reader.attributes().value(QLatin1String("flag")) != QLatin1String("fatal")) continue;
        const QString id = reader.attributes().value(QLatin1String("id")).toString();
        const QString location = reader.attributes().value(QLatin1String("location")).toString();
        QString text;
        while (!(reader.isEndElement() && reader.name() == QLatin1String("failed-assert")) && !reader.atEnd()) {
            reader.readNext();
            if (reader.isCharacters()) text += reader.text();
        }
        rules << QStringLiteral("[%1] %2 at %3").arg(id, text.simplified(), location);
    }
    if (reader.hasError()) rules << QStringLiteral("SVRL report unreadable: ") + reader.errorString();
    return rules;
}

} // namespace

QMap<QString, QStringList> ValidateEInvoices(const QMap<QString, QByteArray>& files)
{
    QMap<QString, QStringList> problems;
    QTemporaryDir work;
    const QDir in(work.filePath(QStringLiteral("in")));
    const QDir out(work.filePath(QStringLiteral("out")));
    QDir().mkpath(in.path());
    QDir().mkpath(out.path());
    QStringList paths;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile file(in.filePath(it.key() + QStringLiteral(".xml")));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size()) {
            QTest::qFail("cannot write the XML to validate", __FILE__, __LINE__);
            return problems;
        }
        paths << file.fileName();
        problems[it.key()];
    }

    // The schema: xmllint names each file it finds fault with.
    int exitCode = 0;
    const QString schema = kArtefacts + QStringLiteral("/cii-schema/CII/uncefact/data/standard/CrossIndustryInvoice_100pD16B.xsd");
    const QString schemaOutput =
        Run(QStringLiteral("xmllint"), QStringList{QStringLiteral("--noout"), QStringLiteral("--schema"), schema} + paths, exitCode);
    for (const QString& line : schemaOutput.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.endsWith(QLatin1String(" validates"))) continue;
        bool named = false;
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            if (line.startsWith(in.filePath(it.key() + QStringLiteral(".xml")))) {
                problems[it.key()] << QStringLiteral("schema: ") + line;
                named = true;
            }
        if (!named && exitCode != 0) QTest::qFail(qPrintable(QStringLiteral("xmllint: ") + line), __FILE__, __LINE__);
    }

    // The business rules: one Saxon run over the whole folder.
    const QString saxonOutput = Run(
        QStringLiteral("java"),
        {QStringLiteral("-cp"), QStringLiteral("/usr/share/java/Saxon-HE.jar"), QStringLiteral("net.sf.saxon.Transform"),
         QStringLiteral("-s:") + in.path(), QStringLiteral("-xsl:") + kArtefacts + QStringLiteral("/EN16931-CII-validation.xslt"),
         QStringLiteral("-o:") + out.path()},
        exitCode);
    if (exitCode != 0) {
        QTest::qFail(qPrintable(QStringLiteral("Saxon failed: ") + saxonOutput), __FILE__, __LINE__);
        return problems;
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile report(out.filePath(it.key() + QStringLiteral(".xml")));
        if (!report.open(QIODevice::ReadOnly)) {
            problems[it.key()] << QStringLiteral("no SVRL report");
            continue;
        }
        problems[it.key()] << FatalRules(report.readAll());
    }
    return problems;
}
