#include "tankfixtures.h"

const QStringList STANDARD_TOROIDS = {"600x200 42L", "600x220 47L", "630x200 46L", "630x225 53L", "630x250 60L",
                                      "630x270 66L", "650x200 50L", "650x225 55L", "650x250 65L", "650x270 70L",
                                      "720x230 78L", "720x240 83L", "720x270 89L"};
const QStringList STANDARD_SOLIDS = {"720x200 65L", "720x270 93L", "650x250 68L", "650x270 75L"};
const QStringList STANDARD_CYLINDERS = {"300x640 40L", "300x780 50L", "400x595 57L",  "300x1000 65L",
                                        "376x792 76L", "356x920 80L", "356x1005 90L", "356x1045 103L"};
