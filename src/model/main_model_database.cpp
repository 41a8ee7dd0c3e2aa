#include "database/database_file.h"
#include "model/main_model.h"

namespace valdrex {

// Apart from the rest of the model, so that a program bringing its own writer does not link the
// file functions and the Qt libraries behind them.
MainModel::MainModel(ModuleState& state) : MainModel(state, AppendLine) {}

} // namespace valdrex
