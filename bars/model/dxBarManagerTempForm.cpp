// The manager's temporary form copy: a hidden form read from the manager's block of the
// owner form's own resource, which bar resets and the usage reset take their defaults from.
#include "ClassRegistry.h"
#include "FormResources.h"
#include "Forms.h"
#include "Scope.h"
#include "Screen.h"
#include "dxBarManager.h"

#include <QRegularExpression>
#include <QStringList>

#include <memory>

// The root the copy is read into: an empty form that is never shown.
class TdxBarTempForm : public TForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TdxBarTempForm(TComponent* owner) : TForm(owner) {}
};

namespace {

bool readingTempForm = false;

// Makes the class of meta known to the reader while the scope lasts, when it is not yet.
class TTempClassRegistration {
public:
    explicit TTempClassRegistration(const QMetaObject* meta)
    {
        const QString name = QString::fromLatin1(meta->className());
        if (GetClass(name)) return;
        RegisterComponentClass(meta, [meta](TComponent* owner) -> TComponent* {
            QObject* object = meta->newInstance(Q_ARG(TComponent*, owner));
            auto* component = qobject_cast<TComponent*>(object);
            if (!component) {
                delete object;
                throw EClassNotFound(QStringLiteral("Class %1 not found").arg(QString::fromLatin1(meta->className())));
            }
            TScopeExit freeOnFailure([component] { delete component; });
            component->AfterConstruction();
            freeOnFailure.Dismiss();
            return component;
        });
        name_ = name;
    }
    ~TTempClassRegistration()
    {
        if (!name_.isEmpty()) UnregisterClass(name_);
    }
    TTempClassRegistration(const TTempClassRegistration&) = delete;
    TTempClassRegistration& operator=(const TTempClassRegistration&) = delete;

private:
    QString name_;
};

bool IsFormSizeLine(const QString& line)
{
    static const QStringList kSizeProps = {QStringLiteral("Width ="), QStringLiteral("Height ="),
                                           QStringLiteral("ClientWidth ="), QStringLiteral("ClientHeight =")};
    // Form-level properties are indented by exactly two blanks.
    if (!line.startsWith(QLatin1String("  ")) || line.size() < 3 || line.at(2).isSpace()) return false;
    const QString rest = line.mid(2);
    for (const QString& prop : kSizeProps)
        if (rest.startsWith(prop)) return true;
    return false;
}

QString LeadingBlanks(const QString& line)
{
    qsizetype n = 0;
    while (n < line.size() && line.at(n).isSpace()) ++n;
    return line.left(n);
}

// The manager's block, from its "object" line to the "end" at the same indentation; empty
// when the resource has no such block.
QStringList ManagerBlock(const QStringList& lines, const QString& header)
{
    for (int i = 1; i < lines.size(); ++i) {
        if (lines.at(i).trimmed() != header) continue;
        const QString indent = LeadingBlanks(lines.at(i));
        QStringList block{lines.at(i)};
        for (int j = i + 1; j < lines.size(); ++j) {
            block << lines.at(j);
            if (lines.at(j).trimmed() == QLatin1String("end") && LeadingBlanks(lines.at(j)) == indent) return block;
        }
        return {};
    }
    return {};
}

// The copy's resource text: the form's first two size lines and the manager's block.
QString TempFormText(const QString& resource, const QString& managerHeader)
{
    const QStringList lines = resource.split(QRegularExpression("\r\n|\n|\r"));
    const QStringList block = ManagerBlock(lines, managerHeader);
    if (block.isEmpty()) return {};
    QStringList text{QStringLiteral("object TempForm: TdxBarTempForm")};
    int sizeLines = 0;
    for (int i = 1; i < lines.size() && sizeLines < 2; ++i)
        if (IsFormSizeLine(lines.at(i))) {
            text << lines.at(i);
            ++sizeLines;
        }
    text << block << QStringLiteral("end");
    return text.join(u'\n');
}

}  // namespace

bool dxBarReadingTempForm()
{
    return readingTempForm;
}

TCustomForm* TdxBarManager::CreateTempForm()
{
    TComponent* form = OwnerForm();
    if (!form) return nullptr;
    const std::optional<QString> resource = FindFormResource(QString::fromLatin1(form->metaObject()->className()));
    if (!resource) return nullptr;

    // The hourglass while the resource is read.
    TBusyCursorScope busy;
    const QString header = QStringLiteral("object %1: %2").arg(Name(), QString::fromLatin1(metaObject()->className()));
    const QString text = TempFormText(*resource, header);
    RegisterClass<TdxBarTempForm>();
    std::unique_ptr<TdxBarTempForm> copy(Create<TdxBarTempForm>(nullptr));
    if (!text.isEmpty()) {
        TTempClassRegistration managerClass(metaObject());
        TRestore reading(readingTempForm, true);
        // Event bindings name handlers of the live form, which the copy does not have; they
        // are skipped by the reader, so no property that merely begins with "On" is lost.
        ReadComponentFromText(text, copy.get(), true);
    }
    if (auto* manager = qobject_cast<TdxBarManager*>(copy->FindComponent(Name()))) manager->storeOptions_.Disable();
    return copy.release();
}

#include "dxBarManagerTempForm.moc"
