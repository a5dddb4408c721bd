#include "ui/batch_export.h"

#include "core/catalogue.h"
#include "core/file_names.h"
#include "core/safe_file.h"
#include "ui/block_detail_window.h"
#include "ui/overview_window.h"
#include "ui/snapshot.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTextStream>

#include <exception>

namespace quimo::ui {

namespace {

QString outputFolder(const Session &session, const QString &outDir)
{
    return outDir.isEmpty() ? QFileInfo(QString::fromStdString(session.dataFilePath)).absolutePath()
                            : QDir(outDir).absolutePath();
}

// The rows of a detail window that its picture holds: down to 16 rows below the close button.
// Rendered without a frame, the window's outer height is its client height.
quint16 detailWindowCrop(const BlockDetailWindow &window)
{
    const auto *close = window.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
    return detailCrop(window.height(), close->y());
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    writeFileReplacing(QFile::encodeName(path).toStdString(), path.toStdString(),
                       std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                 std::size_t(bytes.size())));
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

void writePictures(const Session &session, const QString &outDir)
{
    const QString folder = outputFolder(session, outDir);
    const QString overviewName =
        QFileInfo(QString::fromStdString(overviewPictureName(session.dataFilePath))).fileName();
    {
        OverviewWindow overview;
        overview.showEvaluation(session);
        writePicture(renderWindow(&overview, 80), QDir(folder).filePath(overviewName),
                     QDir(folder).filePath(overviewName));
    }
    for (int block = 1; block <= kBlockCount; ++block) {
        BlockDetailWindow window(block, session, nullptr);
        const QString name = QString::fromStdString(detailPictureName(session.baseName, block));
        writePicture(renderWindow(&window, detailWindowCrop(window)), QDir(folder).filePath(name),
                     QDir(folder).filePath(name));
    }
}

void writeDocument(const Session &session, const QString &path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setTitle(QStringLiteral("QUIMO-Auswertung"));
        pdf.setCreator(QStringLiteral("quimo-export"));
        QPainter painter(&pdf);

        const QString fileName = QString::fromStdString(session.dataFilePath);
        const QRect page(0, 0, pdf.width(), pdf.height());
        // Draws one window's content scaled to the page width, below the file name.
        auto drawPage = [&](QWidget *widget, const QRegion &region) {
            painter.save();
            QFont header(QStringLiteral("Arial"));
            header.setPointSizeF(10);
            painter.setFont(header);
            painter.drawText(page, Qt::AlignTop | Qt::AlignLeft, fileName);
            const qreal scale = qreal(page.width()) / widget->width();
            painter.translate(0, painter.fontMetrics().height() * 2);
            painter.scale(scale, scale);
            widget->render(&painter, QPoint(), region,
                           QWidget::DrawWindowBackground | QWidget::DrawChildren);
            painter.restore();
        };

        OverviewWindow overview;
        overview.showEvaluation(session);
        QWidget *chart = overview.findChild<QWidget *>(QStringLiteral("Chart1"));
        drawPage(chart, QRegion(chart->rect()));

        for (int block = 1; block <= kBlockCount; ++block) {
            pdf.newPage();
            BlockDetailWindow window(block, session, nullptr);
            const auto *close = window.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
            drawPage(&window, QRegion(0, 0, window.width(), close->y() - 4));
        }
    }
    writeBytes(path, buffer.data());
}

QByteArray summaryTable(const QList<ExportedFile> &files)
{
    QStringList header{QStringLiteral("Datei")};
    for (int block = 1; block <= kBlockCount; ++block) {
        header.append(csvField(QString::fromUtf8(blockNames(block).menuCaption)));
    }
    header.append(QStringLiteral("Unbeantwortet"));

    QString table = header.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    for (const ExportedFile &file : files) {
        QStringList row{csvField(file.name)};
        for (const std::uint64_t score : file.scores) {
            row.append(QString::number(score));
        }
        row.append(QString::number(file.unanswered));
        table += row.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + table.toUtf8();
}

int runExport(const ExportOptions &options, QTextStream &log)
{
    QList<ExportedFile> done;
    bool allGood = true;
    const auto count = options.files.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QString &name = options.files[i];
        log << QStringLiteral("[%1/%2] %3 \u2026 ").arg(i + 1).arg(count).arg(name);
        log.flush();

        Session session;
        session.dataFilePath = QFileInfo(name).absoluteFilePath().toStdString();
        session.baseName = baseName(session.dataFilePath);
        if (!readAnswerRecord(session.dataFilePath, session.answers)) {
            log << QStringLiteral("Fehler\nDatei l\u00e4sst sich nicht \u00f6ffnen: %1\n")
                       .arg(name);
            allGood = false;
            continue;
        }
        try {
            writePictures(session, options.outDir);
            if (options.pdf) {
                writeDocument(session, QDir(outputFolder(session, options.outDir))
                                           .filePath(QString::fromStdString(session.baseName) +
                                                     QStringLiteral(".pdf")));
            }
        } catch (const std::exception &error) {
            log << QStringLiteral("Fehler\n%1\n").arg(QString::fromUtf8(error.what()));
            allGood = false;
            continue;
        }
        ExportedFile file;
        file.name = name;
        const BlockTotals totals = blockTotals(session.answers);
        for (std::size_t block = 0; block < totals.size(); ++block) {
            file.scores[block] = blockScore(totals[block]);
        }
        file.unanswered = unansweredCount(session.answers);
        done.append(file);
        log << QStringLiteral("ok\n");
        log.flush();
    }

    if (!options.csvPath.isEmpty()) {
        try {
            writeBytes(options.csvPath, summaryTable(done));
        } catch (const std::exception &error) {
            log << QString::fromUtf8(error.what()) << '\n';
            allGood = false;
        }
    }
    log.flush();
    return allGood ? 0 : 1;
}

} // namespace quimo::ui
