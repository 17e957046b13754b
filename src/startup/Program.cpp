#include "startup/Program.h"

#include "assets/pictures/Pictures.h"
#include "data/Connection.h"
#include "data/FormatSettings.h"
#include "forms/untPaciente.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"

#include <QFont>
#include <QIcon>
#include <QLocale>

namespace vorlu::startup {

namespace {

// The type faces the windows name, with what stands in for them where they are not installed.
void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Bookman Old Style"),
                               {QStringLiteral("URW Bookman"), QStringLiteral("TeX Gyre Bonum"),
                                QStringLiteral("DejaVu Serif")});
}

char localeDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.front().unicode() < 0x80)
        return static_cast<char>(point.front().unicode());
    return '.';
}

} // namespace

forms::TfrmPaciente* prepareProgram(toolkit::VorluApplication& application)
{
    data::setDecimalSeparator(localeDecimalSeparator());
    installFontSubstitutes();
    QApplication::setWindowIcon(QIcon(assets::picturePath(assets::kProgramIcon)));
    toolkit::VorluApplication::setTitle(kApplicationTitle);
    forms::TfrmPaciente* screen = forms::frmPaciente.create();
    application.setMainForm(screen);
    return screen;
}

int runProgram(const char* executable)
{
    // The program takes no command line: Qt sees only the program's own name.
    int argc = 1;
    char* argv[] = {const_cast<char*>(executable), nullptr};
    // Last of all, once every form and its connection is gone: the embedded engine puts
    // everything on disk and stops its threads before the process ends.
    struct ClientShutdown {
        ~ClientShutdown() { data::shutdownDatabaseClient(); }
    } shutdownAtExit;
    toolkit::VorluApplication application(argc, argv);
    try {
        prepareProgram(application);
    } catch (...) {
        // Without its main window the program has nothing to run.
        toolkit::HandleException();
        return 1;
    }
    return application.Run();
}

} // namespace vorlu::startup
