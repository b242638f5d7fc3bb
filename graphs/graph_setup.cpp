#include "graphs/graph_setup.h"

namespace orvandry::graphs {

void GraphSetup::Press(int id) {
  for (int code = 0; code < 4; ++code)
    if (graph_setup_id::kButtons[code] == id || graph_setup_id::kBoxes[code] == id) ticked_ = code;
}

bool GraphSetup::Ticked(int box_id) const {
  return graph_setup_id::kBoxes[ticked_] == box_id;
}

}  // namespace orvandry::graphs
