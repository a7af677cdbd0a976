#include "DialogScript.h"

#include <QGuiApplication>

namespace {
TDialogScript* current = nullptr;

bool Headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
}  // namespace

TDialogScript::TDialogScript() : outer_(current), installed_(true)
{
    current = this;
}

TDialogScript::TDialogScript(FallbackTag) {}

TDialogScript::~TDialogScript()
{
    if (!installed_) return;
    // Scripts normally nest; if one outlives an inner one, unlink it from the chain.
    if (current == this) {
        current = outer_;
        return;
    }
    for (TDialogScript* s = current; s; s = s->outer_)
        if (s->outer_ == this) s->outer_ = outer_;
}

TDialogScript* TDialogScript::Active()
{
    if (current) return current;
    if (!Headless()) return nullptr;
    static TDialogScript fallback{FallbackTag{}};
    return &fallback;
}

QList<TDialogRecord> TDialogScript::Log(const QString& kind) const
{
    QList<TDialogRecord> result;
    for (const TDialogRecord& r : log_)
        if (r.kind == kind) result.append(r);
    return result;
}

int TDialogScript::TakeMessage(int defaultId)
{
    return messages_.isEmpty() ? defaultId : messages_.takeFirst();
}

std::optional<QString> TDialogScript::TakeFile()
{
    return files_.isEmpty() ? std::nullopt : files_.takeFirst();
}

std::optional<QColor> TDialogScript::TakeColor()
{
    return colors_.isEmpty() ? std::nullopt : colors_.takeFirst();
}

std::optional<QString> TDialogScript::TakeFont()
{
    if (fonts_.isEmpty()) return std::nullopt;
    const TFontAnswer answer = fonts_.takeFirst();
    return answer.confirm ? std::optional<QString>(answer.family) : std::nullopt;
}

std::optional<QString> TDialogScript::TakePrintToFile()
{
    return prints_.isEmpty() ? std::nullopt : prints_.takeFirst();
}

std::optional<QPageLayout> TDialogScript::TakePageSetup()
{
    return pageSetups_.isEmpty() ? std::nullopt : pageSetups_.takeFirst();
}

std::function<void(TCustomForm&)> TDialogScript::TakeForm()
{
    return forms_.isEmpty() ? std::function<void(TCustomForm&)>() : forms_.takeFirst();
}
