#include "Application.h"

#include "Dialogs.h"
#include "ExceptionBarrier.h"
#include "Forms.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>

TApplication* Application = nullptr;

TApplication::TApplication(TComponent* owner) : TComponent(owner)
{
    if (!Application) Application = this;
    title_ = QCoreApplication::applicationName();
    // Idle time is the moment the loop is about to wait: no polling timer needed.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { Idle(); });
}

TApplication::~TApplication()
{
    Destroying();
    // Forms go now, while this object is still fully a TApplication.
    DestroyComponents();
    if (Application == this) Application = nullptr;
}

void TApplication::FormCreated(TCustomForm* form)
{
    if (!mainForm_ && form) mainForm_ = form;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) {
        mainForm_ = nullptr;
        if (runLoop_) Terminate();  // freeing the main form ends Run like closing it
    }
}

void TApplication::Run()
{
    if (!mainForm_ || terminated_) return;
    RunGuarded(this, [this] { mainForm_->Show(); });
    if (terminated_) return;
    QEventLoop loop;
    runLoop_ = &loop;
    loop.exec();
    runLoop_ = nullptr;
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (runLoop_) runLoop_->quit();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Idle()
{
    if (inIdle_ || !onIdle_ || IsDestroying()) return;
    inIdle_ = true;
    RunGuarded(this, [this] {
        bool done = true;
        onIdle_(this, done);
    });
    inIdle_ = false;
}

bool TApplication::HelpContext(int context)
{
    bool handled = false;
    if (onHelp_) onHelp_(HELP_CONTEXT, context, handled);
    return handled;
}

void TApplication::HandleException(QObject* sender, const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e)) return;
    if (handlingException_) {
        // An exception while showing one: report it without recursing.
        qWarning("Exception while handling an exception: %s", e.what());
        return;
    }
    handlingException_ = true;
    try {
        const auto* ex = dynamic_cast<const Exception*>(&e);
        const Exception wrapped(QString::fromUtf8(e.what()));
        const Exception& shown = ex ? *ex : wrapped;
        if (onException_)
            onException_(sender, shown);
        else
            ShowException(shown);
    } catch (const std::exception& inner) {
        qWarning("Exception in the exception handler: %s", inner.what());
    } catch (...) {
        qWarning("Unknown exception in the exception handler");
    }
    handlingException_ = false;
}

void TApplication::HandleCurrentException(QObject* sender)
{
    try {
        throw;
    } catch (const std::exception& e) {
        HandleException(sender, e);
    } catch (...) {
        HandleException(sender, Exception(QStringLiteral("Unknown exception")));
    }
}

void TApplication::ShowException(const Exception& e)
{
    QString message = e.Message().trimmed();
    if (!message.isEmpty() && !message.endsWith(QLatin1Char('.'))) message += QLatin1Char('.');
    MessageBox(message, title_, MB_OK | MB_ICONSTOP);
}
