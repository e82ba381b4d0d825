// The full mesh model for framework and plug-in code: the exchanged types
// of the host contract together with the tables of the table form.
#pragma once

#include "framework/contract.h"
#include "framework/mesh_tables.h"

namespace plugins {}  // namespace plugins
