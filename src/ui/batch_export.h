#pragma once

#include "core/scoring.h"
#include "core/session.h"

#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

namespace quimo::ui {

// What a coach asks of quimo-export.
struct ExportOptions
{
    QStringList files;
    QString outDir; // empty: the pictures go beside each answer file
    bool pdf = false;
    QString csvPath; // empty: no summary table
};

// The evaluation of one answer file, for the summary table.
struct ExportedFile
{
    QString name; // as given on the command line
    std::array<std::uint64_t, kBlockCount> scores{};
    int unanswered = 0;
};

// Evaluates every file as the interactive program does and writes its ten pictures (and its
// document); progress and failures go to log. Returns 0 when every file succeeded, else 1.
int runExport(const ExportOptions &options, QTextStream &log);

// The ten pictures of an evaluated answer file under the names the interactive program uses,
// rendered from the program's own windows at their design sizes. Throws on a failed write.
void writePictures(const Session &session, const QString &outDir);

// One A4 document: the overview chart, then the nine blocks, with the file name on every page.
void writeDocument(const Session &session, const QString &path);

// The summary table: semicolon-separated UTF-8 with a byte-order mark, as German spreadsheets
// expect it.
QByteArray summaryTable(const QList<ExportedFile> &files);

} // namespace quimo::ui
