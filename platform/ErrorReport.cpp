#include "platform/ErrorReport.h"

#include "platform/Dialogs.h"
#include "store/core/AppError.h"

bool runGuarded(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const AppError &e) {
        Dialogs::error(e.text());
    } catch (const std::exception &e) {
        Dialogs::error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
