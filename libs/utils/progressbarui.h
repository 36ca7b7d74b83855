#pragma once

#include "utils_global.h"

#include <QObject>

#include <memory>

class QWidget;

namespace Utils {

// Waits for one transfer, yielding its fiber or in a nested event loop (FiberWait); with UI a
// small busy indicator is shown meanwhile.
class UTILS_EXPORT ProgressBarUi : public QObject
{
    Q_OBJECT
public:
    explicit ProgressBarUi(QWidget *parent);
    ~ProgressBarUi() override;

    void setModal(bool modal);
    void setShowUi(bool show);
    bool isUiVisible() const;

    // Returns once exit() got `id`, at once when it already has.
    void exec(int id);

public slots:
    // Ends the wait for `id`; other ids are ignored.
    void exit(unsigned int id);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Utils
