#include "Application.h"
#include "Dialogs.h"
#include "ExceptionBarrier.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// An object whose event handler throws, as a faulty override would.
class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) throw EConvertError("bad value in event");
        return QObject::event(e);
    }
};

class Emitter : public QObject {
    Q_OBJECT
signals:
    void Fired(int value);
};

}  // namespace

TEST(ExceptionBarrier, EventTimerAndSlotExceptionsAreShownAndTheLoopGoesOn)
{
    Application->SetTitle("Barrier");
    TDialogScript script;

    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QTimer::singleShot(0, Guarded([] { throw Exception("timer failed"); }));
    Emitter emitter;
    int received = 0;
    QObject::connect(&emitter, &Emitter::Fired, &emitter, Guarded([&](int v) {
        received = v;
        throw std::runtime_error("slot failed");
    }));
    emitter.Fired(7);

    bool later = false;
    QTimer::singleShot(5, [&] { later = true; });
    ASSERT_TRUE(testsupport::WaitFor([&] { return later && script.Log().size() >= 3; }));

    EXPECT_EQ(received, 7);
    QStringList texts;
    for (const TDialogRecord& r : script.Log()) {
        EXPECT_EQ(r.caption, "Barrier");
        EXPECT_EQ(r.flags, MB_OK | MB_ICONSTOP);
        texts << r.text;
    }
    texts.sort();
    EXPECT_EQ(texts, QStringList({"bad value in event.", "slot failed.", "timer failed."}));
}

TEST(ExceptionBarrier, SilentAbortAndOnException)
{
    TDialogScript script;
    EXPECT_FALSE(RunGuarded(nullptr, [] { Abort(); }));
    EXPECT_TRUE(script.Log().isEmpty());

    struct Handler : QObject {
        QString seen;
        QObject* sender = nullptr;
        void OnError(TObject* s, const Exception& e)
        {
            sender = s;
            seen = e.Message();
        }
    } handler;
    Application->SetOnException(TExceptionEvent(&handler, &Handler::OnError));
    QObject origin;
    RunGuarded(&origin, [] { throw std::logic_error("plain std"); });
    Application->SetOnException({});
    EXPECT_EQ(handler.seen, "plain std");
    EXPECT_EQ(handler.sender, &origin);
    EXPECT_TRUE(script.Log().isEmpty());

    // A handler that fails itself is contained.
    struct Failing : QObject {
        void OnError(TObject*, const Exception&) { throw Exception("again"); }
    } failing;
    Application->SetOnException(TExceptionEvent(&failing, &Failing::OnError));
    EXPECT_FALSE(RunGuarded(nullptr, [] { throw Exception("first"); }));
    Application->SetOnException({});
}

TEST(Application, OnIdleFiresWhenTheLoopWaitsAndIsNotReentered)
{
    struct Idler : QObject {
        int calls = 0;
        bool nested = false;
        bool inside = false;
        void OnIdle(TObject*, bool& done)
        {
            nested = nested || inside;
            inside = true;
            ++calls;
            // A nested loop inside the handler waits, so the dispatcher signals idle again.
            if (calls == 1) {
                QEventLoop inner;
                QTimer::singleShot(10, &inner, &QEventLoop::quit);
                inner.exec();
            }
            inside = false;
            done = true;
        }
    } idler;
    Application->SetOnIdle(TIdleEvent(&idler, &Idler::OnIdle));
    bool fired = false;
    QTimer::singleShot(30, [&] { fired = true; });
    QEventLoop loop;
    QTimer::singleShot(60, &loop, &QEventLoop::quit);
    loop.exec();
    Application->SetOnIdle({});
    EXPECT_TRUE(fired);
    EXPECT_GE(idler.calls, 1);
    EXPECT_FALSE(idler.nested);
}

#include "Application_test.moc"

// A replaced handler gets every guarded exception, standard or not, with its sender, and
// what it raises itself stays inside; without it the application shows them again.
TEST(ExceptionBarrier, AReplacedHandlerTakesEveryGuardedException)
{
    TDialogScript script;
    QStringList seen;
    QObject origin;
    SetGuardedExceptionHandler([&](QObject* sender, const std::exception& e) {
        seen << QString::fromUtf8(e.what()) + (sender == &origin ? "@origin" : "");
        if (seen.size() == 3) throw Exception("the handler failed");
    });
    EXPECT_FALSE(RunGuarded(&origin, [] { throw Exception("ours"); }));
    EXPECT_FALSE(RunGuarded(nullptr, [] { throw std::runtime_error("standard"); }));
    EXPECT_FALSE(RunGuarded(nullptr, [] { throw 42; }));
    SetGuardedExceptionHandler({});
    EXPECT_EQ(seen, QStringList({"ours@origin", "standard", "Unknown exception"}));
    EXPECT_TRUE(script.Log().isEmpty());

    EXPECT_FALSE(RunGuarded(nullptr, [] { throw Exception("shown again"); }));
    ASSERT_EQ(script.Log().size(), 1);
    EXPECT_EQ(script.Log().first().text, "shown again.");
}
