#include "buttonfactory.h"

#include <QPushButton>

namespace Utils {

ButtonFactory::ButtonFactory(QObject *parent)
    : QtAbstractEditorFactory<ButtonManager>(parent)
{
}

ButtonFactory::~ButtonFactory() = default;

void ButtonFactory::connectPropertyManager(ButtonManager *manager)
{
    connect(manager, &ButtonManager::valueChanged, this, &ButtonFactory::updateCaption);
}

QWidget *ButtonFactory::createEditor(ButtonManager *manager, QtProperty *property, QWidget *parent)
{
    auto *button = new QPushButton(manager->value(property), parent);
    m_editors.insert(property, button);
    // Queued: the click may make the browser delete the button.
    connect(
        button, &QPushButton::clicked, manager, [manager, property] { manager->click(property); },
        Qt::QueuedConnection);
    connect(button, &QObject::destroyed, this, &ButtonFactory::forgetEditor);
    return button;
}

void ButtonFactory::disconnectPropertyManager(ButtonManager *manager)
{
    disconnect(manager, &ButtonManager::valueChanged, this, &ButtonFactory::updateCaption);
}

void ButtonFactory::updateCaption(QtProperty *property, const QString &caption)
{
    const QList<QPushButton *> buttons = m_editors.values(property);
    for (QPushButton *button : buttons)
        button->setText(caption);
}

// The button is half destroyed here: only its address is compared.
void ButtonFactory::forgetEditor(QObject *editor)
{
    for (auto it = m_editors.begin(); it != m_editors.end(); ++it) {
        if (it.value() == editor) {
            m_editors.erase(it);
            return;
        }
    }
}

} // namespace Utils
