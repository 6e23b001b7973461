#include "resources.h"

#include <QtGlobal>

void initResources() {
    // Referencing the generated registration pulls it out of the static library; registering twice is a no-op.
    Q_INIT_RESOURCE(resources);
}
