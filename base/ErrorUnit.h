#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the application. what() carries the message text
// as UTF-8, exactly as the user will read it in the error box.
class ECorvinalError : public std::runtime_error {
public:
    explicit ECorvinalError(const QString& Message);
    QString Message() const;
};

// "List index out of bounds (%d)"
[[noreturn]] void RaiseListIndexError(int Index);

// Text of any exception as the user should see it.
QString ErrorText(const std::exception& E);
