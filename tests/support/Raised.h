#pragma once

#include "data/AppError.h"

#include <functional>

// The numbered error that action raises; number 0 when it raises none.
inline AppError raised(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e;
    }
    return AppError(0, QString());
}
