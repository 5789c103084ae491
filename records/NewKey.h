#pragma once

#include <QString>

// A fresh in-memory key: "K" followed by the 16 bytes of a new GUID, each taken as one
// 8-bit character (17 characters). Empty when no GUID could be made. Never written to a file.
QString NewKey();
