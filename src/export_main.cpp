// quimo-export: evaluates any number of answer files without a display and without questions,
// for coaches who evaluate whole groups.

#include "ui/application.h"
#include "ui/batch_export.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <csignal>
#include <malloc.h>
#include <cstdio>
#include <cstdlib>

namespace {

const char *const kHelp =
    "Aufruf: quimo-export [OPTIONEN] DATEI...\n"
    "\n"
    "Wertet QUIMO-Antwortdateien aus, ohne Bildschirm und ohne Rückfragen. Für jede Datei\n"
    "entstehen die zehn Bilder der Auswertung, wie sie auch QUIMO Auswertung speichert:\n"
    "die Übersicht (Name der Datei mit der Endung .jpg) und die neun Blöcke\n"
    "(Dateiname ohne Endung, gefolgt von Nummer und Name des Blocks).\n"
    "\n"
    "Optionen:\n"
    "  -o, --out ORDNER   schreibt alle Ausgaben in ORDNER statt neben die Antwortdatei\n"
    "      --pdf          schreibt zusätzlich je Datei ein PDF-Dokument (A4, zehn Seiten)\n"
    "      --csv DATEI    schreibt eine Übersichtstabelle aller Dateien: Dateiname, die neun\n"
    "                     Blockergebnisse in Prozent und die Zahl der unbeantworteten Aussagen;\n"
    "                     durch Semikolon getrennt, UTF-8\n"
    "  -h, --help         zeigt diese Hilfe\n"
    "  -v, --version      zeigt die Version\n"
    "\n"
    "Vorhandene Ausgabedateien werden ersetzt, aber erst, wenn die neue Datei vollständig\n"
    "geschrieben ist. Eine Datei, die sich nicht lesen lässt, wird gemeldet und übersprungen.\n"
    "\n"
    "Rückgabewert: 0, wenn alle Dateien ausgewertet wurden; 1, wenn eine Datei fehlschlug;\n"
    "2 bei falschem Aufruf.\n";

int usageError(const QString &message)
{
    QTextStream err(stderr);
    err << "quimo-export: " << message << '\n'
        << "Aufruf: quimo-export [OPTIONEN] DATEI...  (--help zeigt die Hilfe)\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // The pictures are rendered from the windows themselves: no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::signal(SIGXFSZ, SIG_IGN);
    // Every picture allocates its window images anew; keeping freed memory in the heap instead
    // of returning it to the kernel spares the page faults of zeroing it again for each file.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quimo-export"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    quimo::ui::setUpFonts();
    quimo::ui::installGermanTranslations(application);

    QCommandLineParser parser;
    const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("out")}, QString(),
                                 QStringLiteral("ORDNER"));
    const QCommandLineOption pdf(QStringLiteral("pdf"));
    const QCommandLineOption csv(QStringLiteral("csv"), QString(), QStringLiteral("DATEI"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({out, pdf, csv, help, version});
    if (!parser.parse(QApplication::arguments())) {
        return usageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs("quimo-export 1.0\n", stdout);
        return 0;
    }
    if (parser.positionalArguments().isEmpty()) {
        return usageError(QStringLiteral("keine Antwortdatei angegeben"));
    }

    quimo::ui::ExportOptions options;
    options.files = parser.positionalArguments();
    options.outDir = parser.value(out);
    options.pdf = parser.isSet(pdf);
    options.csvPath = parser.value(csv);
    QTextStream log(stderr);
    return quimo::ui::runExport(options, log);
}
