#include "qtlineeditfactory.h"

#include "editorregistry_p.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

void applyRegExp(QLineEdit *editor, const QRegularExpression &regExp)
{
    const auto *current = qobject_cast<const QRegularExpressionValidator *>(editor->validator());
    if ((current ? current->regularExpression() : QRegularExpression()) == regExp)
        return;
    delete current;
    // The validator keeps the user to texts the manager would accept.
    editor->setValidator(
        regExp.pattern().isEmpty() ? nullptr : new QRegularExpressionValidator(regExp, editor));
}

void showString(QLineEdit *editor, const QtStringPropertyManager *manager,
                const QtProperty *property)
{
    applyRegExp(editor, manager->regExp(property));
    // Resetting an unchanged text would move the cursor under the user's hands.
    if (editor->text() != manager->value(property))
        editor->setText(manager->value(property));
}

} // namespace

QtLineEditFactory::QtLineEditFactory(QObject *parent)
    : QtAbstractEditorFactory<QtStringPropertyManager>(parent)
    , m_editors(std::make_unique<
                QtPropertyBrowserInternal::EditorRegistry<QtStringPropertyManager, QLineEdit>>(
          this, showString))
{
}

QtLineEditFactory::~QtLineEditFactory() = default;

void QtLineEditFactory::connectPropertyManager(QtStringPropertyManager *manager)
{
    m_editors->follow(manager, &QtStringPropertyManager::valueChanged,
                      &QtStringPropertyManager::regExpChanged);
}

QWidget *QtLineEditFactory::createEditor(QtStringPropertyManager *manager, QtProperty *property,
                                         QWidget *parent)
{
    auto *editor = m_editors->add(manager, property, new QLineEdit(parent));
    connect(editor, &QLineEdit::editingFinished, this, [this, editor] {
        m_editors->commit(editor, [text = editor->text()](QtStringPropertyManager *manager,
                                                          QtProperty *property) {
            manager->setValue(property, text);
        });
    });
    return editor;
}

void QtLineEditFactory::disconnectPropertyManager(QtStringPropertyManager *manager)
{
    m_editors->unfollow(manager);
}
