#include "tests/support/printed_page.h"

#include <QProcess>

#include "calc/print_analysis.h"
#include "print/ddoc.h"

QString runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString printedText(const QString& pdf) {
    DD_RENDERTOPDF(pdf.toStdString());
    PRINTROUTINE();
    DD_RENDERTOPDF("");
    return runTool("pdftotext", {"-layout", pdf, "-"});
}
