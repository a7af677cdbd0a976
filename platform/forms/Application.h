#pragma once
// The application object. One TApplication exists while the Qt application object of
// the program exists: TQtApplication (ExceptionBarrier.h) creates it first thing and frees
// it (with every form it owns, last-first) before Qt's own teardown. The global pointer
// `Application` names it; it is nullptr outside that lifetime.
#include "Classes.h"
#include "Events.h"
#include "Scope.h"
#include "SysUtils.h"

#include <QString>
#include <exception>

class TCustomForm;
class QEventLoop;

using TIdleEvent = TEvent<TObject*, bool&>;
using TExceptionEvent = TEvent<TObject*, const Exception&>;
// A help request: the command (HELP_CONTEXT), its data (the context) and whether a handler took it.
using THelpEvent = TEvent<int, int, bool&>;

// Help commands.
enum : int { HELP_CONTEXT = 1 };

class TApplication : public TComponent {
    Q_OBJECT
public:
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // The first form created by CreateForm; nullptr once it is freed.
    TCustomForm* MainForm() const { return mainForm_; }

    // Creates a form owned by the application in both phases; ref is set before the
    // second phase, so the form's OnCreate can already use it. The first form becomes
    // MainForm. If construction fails, the form is freed, ref is cleared, and the
    // exception propagates.
    template <class T>
    void CreateForm(T*& ref)
    {
        T* form = new T(this);
        ref = form;
        TScopeExit freeOnFailure([&ref, form] {
            ref = nullptr;
            delete form;
        });
        form->AfterConstruction();
        freeOnFailure.Dismiss();
        FormCreated(form);
    }

    // Shows the main form and runs the event loop until the main form closes or
    // Terminate is called. Without a main form, returns at once.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches the pending events without waiting.
    void ProcessMessages();

    // Shows exception e (OnException when assigned, else a message box with caption
    // Title and the exception's message). EAbort shows nothing. Never throws.
    void HandleException(QObject* sender, const std::exception& e);
    // The same for the exception being handled (call inside a catch block).
    void HandleCurrentException(QObject* sender);
    void ShowException(const Exception& e);

    // Asks for the help topic of a context. There is no help engine: the request goes to
    // OnHelp (HELP_CONTEXT, context) and nowhere else, so without a handler nothing happens.
    // True when the handler took it.
    bool HelpContext(int context);
    THelpEvent OnHelp() const { return onHelp_; }
    void SetOnHelp(const THelpEvent& e) { onHelp_ = e; }

    // Fired each time the event loop is about to wait for new events; not re-entered
    // while it runs. Done is ignored: the next idle moment comes with the next event.
    TIdleEvent OnIdle() const { return onIdle_; }
    void SetOnIdle(const TIdleEvent& e) { onIdle_ = e; }
    TExceptionEvent OnException() const { return onException_; }
    void SetOnException(const TExceptionEvent& e) { onException_ = e; }

    // Called by forms.
    void FormCreated(TCustomForm* form);
    int ModalLevel() const { return modalLevel_; }
    void EnterModal() { ++modalLevel_; }
    void LeaveModal() { --modalLevel_; }

    // Restores the start state between independent runs (tests): not terminated.
    void ResetTerminated() { terminated_ = false; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Idle();

    QString title_;
    TCustomForm* mainForm_ = nullptr;  // cleared by Notification when it goes
    QEventLoop* runLoop_ = nullptr;
    TIdleEvent onIdle_;
    TExceptionEvent onException_;
    THelpEvent onHelp_;
    bool terminated_ = false;
    bool inIdle_ = false;
    bool handlingException_ = false;
    int modalLevel_ = 0;
};

extern TApplication* Application;
