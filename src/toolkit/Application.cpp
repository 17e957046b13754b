#include "toolkit/Application.h"

#include "toolkit/ErrorReport.h"
#include "toolkit/Form.h"

#include <QLibraryInfo>
#include <QThread>
#include <QWidget>

namespace vorlu::toolkit {

namespace {
QString applicationTitle;
bool terminateRequested = false;
} // namespace

VorluApplication::VorluApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // The program ends when its main window is freed or Terminate() is called, never because
    // the splash or the location dialog was the last window to close during start-up.
    setQuitOnLastWindowClosed(false);
    // Qt's own dialogs (the file dialog) speak the program's language.
    if (qtTranslator_.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTranslator_);
}

VorluApplication::~VorluApplication()
{
    freeAllForms();
}

VorluApplication* VorluApplication::instance()
{
    return qobject_cast<VorluApplication*>(QCoreApplication::instance());
}

void VorluApplication::setTitle(const QString& title)
{
    const QString previous = applicationTitle;
    applicationTitle = title;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && (window->windowIconText().isEmpty() || window->windowIconText() == previous))
            window->setWindowIconText(title);
    }
}

QString VorluApplication::title()
{
    return applicationTitle;
}

void VorluApplication::setMainForm(TForm* form)
{
    mainForm_ = form;
}

TForm* VorluApplication::mainForm() const
{
    return mainForm_.data();
}

int VorluApplication::Run()
{
    if (mainForm_ && !terminateRequested) {
        try {
            mainForm_->show();
        } catch (...) {
            HandleException();
        }
    }
    if (!terminateRequested)
        exec();
    freeAllForms();
    return 0;
}

void VorluApplication::freeAllForms()
{
    // What was released during the last handler goes first, then the main window, then the rest.
    sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (mainForm_)
        mainForm_->Free();
    // A destroy handler may free another form: hold them weakly.
    QList<QPointer<TForm>> rest;
    for (TForm* form : TForm::forms())
        rest.append(form);
    for (const QPointer<TForm>& form : rest) {
        if (form && !form->parentWidget())
            form->Free();
    }
    sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void VorluApplication::Terminate()
{
    terminateRequested = true;
    // exit() stops the loops that run; asked before any loop runs, Run() does not enter one.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

bool VorluApplication::terminated()
{
    return terminateRequested;
}

void VorluApplication::ProcessMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool VorluApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        if (event->type() == QEvent::Show && receiver->isWidgetType() && !applicationTitle.isEmpty()) {
            auto* widget = static_cast<QWidget*>(receiver);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)
                && widget->windowIconText().isEmpty())
                widget->setWindowIconText(applicationTitle);
        }
        return QApplication::notify(receiver, event);
    } catch (...) {
        // The handler ends here; the loop goes on with whatever state it left.
        HandleException();
        return true; // handled: it must not travel on to a parent
    }
}

} // namespace vorlu::toolkit
