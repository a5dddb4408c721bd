#include "ui/application.h"

#include "ui/message_boxes.h"
#include "ui/pictures.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QTranslator>

#include <exception>

namespace quimo::ui {

namespace {

// Hints appear after the pointer has rested half a second, as the program's users know it.
class HintTiming final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return 500;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // No display name: Qt would append it to every window title.
    setApplicationName(QStringLiteral("quimo-auswertung"));
    setApplicationVersion(QStringLiteral("1.0"));
    setWindowIcon(applicationIcon());
    setStyle(new HintTiming);
    setUpFonts();
    installGermanTranslations(*this);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        MessageBoxes::showError(QString::fromUtf8(error.what()));
    }
    return true;
}

void setUpFonts()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QApplication::setFont(layoutFont(QStringLiteral("MS Sans Serif"), 11));
}

void installGermanTranslations(QCoreApplication &application)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto *translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

QFont layoutFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace quimo::ui
