#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTranslator>

namespace vorlu::toolkit {

class TForm;

// The application object. Every event goes through notify(), which is where an exception that
// escapes any handler (a slot, an event override, a timer, an event filter) ends up: it is shown
// by the general error report and the event loop goes on.
//
// The application title is kept here, not in QGuiApplication::applicationDisplayName: on X11
// Qt appends the display name to every window title ("Atenção — ..."), while each of our
// windows must show its own caption exactly. The title reaches the taskbar as the icon text
// (_NET_WM_ICON_NAME) of every top-level window, which task lists show for the program's entry,
// and it is the title of the error report.
class VorluApplication : public QApplication {
    Q_OBJECT
public:
    VorluApplication(int& argc, char** argv);
    ~VorluApplication() override;

    // nullptr when the running application object is not a VorluApplication.
    static VorluApplication* instance();

    static void setTitle(const QString& title);
    static QString title();

    // The main window: freeing it ends the program; Run() shows it.
    void setMainForm(TForm* form);
    TForm* mainForm() const;

    // Shows the main window, runs the event loop until Terminate(), then frees every form
    // still alive, the main window first (their destroy handlers run). Forms must therefore
    // live on the heap. Returns the exit code, 0.
    int Run();

    // Asks the event loop to stop; the handler that asks finishes first. Asked before the loop
    // runs (from the main window's show handler), the loop is not entered at all.
    static void Terminate();
    static bool terminated();

    // Processes every pending event at once (paints a window before a pause).
    static void ProcessMessages();

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void freeAllForms();

    QPointer<TForm> mainForm_;
    QTranslator qtTranslator_;
};

} // namespace vorlu::toolkit
