#pragma once
// The system's one exception type. Making one writes "Exception thrown: <message>" to the
// log at ERROR, so a failure leaves a line even where a catch-all handler swallows it.

#include <stdexcept>
#include <string>

class CustomException : public std::runtime_error {
public:
    explicit CustomException(const std::string& message);
    CustomException(const CustomException&) = default;
    CustomException& operator=(const CustomException&) = default;
};
