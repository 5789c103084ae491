#pragma once

#include <QString>

// A fresh in-memory key of 17 characters: "K" followed by 16 hexadecimal digits (lower case) of
// a number that no earlier call in this session gave; the numbers start at a random point, so
// keys differ between loads. Never written to a file.
QString NewKey();
