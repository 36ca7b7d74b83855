#pragma once

#include "utils_global.h"

#include <QWidget>

namespace Utils {

// A status-bar indicator: a lamp and the text "Connected" or "Disconnected".
class UTILS_EXPORT ConnectionStatus : public QWidget
{
    Q_OBJECT
public:
    explicit ConnectionStatus(QWidget *parent = nullptr);
    ~ConnectionStatus() override;

    void setConnected(bool connected);
    bool isConnected() const;
    QString text() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool m_connected = false;
};

} // namespace Utils
