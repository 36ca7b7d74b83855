#pragma once

#include <QList>
#include <QString>

class QIcon;
class QtAbstractPropertyManager;

// One node of a property tree. Created and owned by a property manager, which
// supplies its value; it may be a sub-property of several parents at once.
class QtProperty
{
public:
    virtual ~QtProperty();

    QList<QtProperty *> subProperties() const;
    QtAbstractPropertyManager *propertyManager() const;

    QString propertyName() const;
    QString propertyId() const;
    QString toolTip() const;
    QString statusTip() const;
    QString whatsThis() const;
    bool isEnabled() const;
    bool isModified() const;
    // Why the shown value may not be what its source holds; empty when it is. A browser draws a
    // value with a note distinctly and gives the note as its tool tip.
    QString valueNote() const;

    bool hasValue() const;
    QIcon valueIcon() const;
    QString valueText() const;

    void setPropertyName(const QString &text);
    void setPropertyId(const QString &id);
    void setToolTip(const QString &text);
    void setStatusTip(const QString &text);
    void setWhatsThis(const QString &text);
    void setEnabled(bool enable);
    void setModified(bool modified);
    void setValueNote(const QString &note);

    void addSubProperty(QtProperty *property);
    // Inserts after afterProperty, or first when afterProperty is null or not a sub-property.
    void insertSubProperty(QtProperty *property, QtProperty *afterProperty);
    void removeSubProperty(QtProperty *property);

protected:
    explicit QtProperty(QtAbstractPropertyManager *manager);
    // Tells the manager's listeners that something shown about this property changed.
    void propertyChanged();

private:
    friend class QtAbstractPropertyManager;

    template <class T>
    void assign(T &field, const T &value);
    bool isDescendantOf(const QtProperty *property) const;

    QtAbstractPropertyManager *m_manager; // not owned
    QList<QtProperty *> m_subProperties;  // not owned
    QList<QtProperty *> m_parents;        // not owned
    QString m_name;
    QString m_id;
    QString m_toolTip;
    QString m_statusTip;
    QString m_whatsThis;
    QString m_valueNote;
    bool m_enabled = true;
    bool m_modified = false;
};
