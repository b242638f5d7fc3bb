#pragma once

namespace orvandry::graphs {

namespace graph_setup_id {
inline constexpr int kTemplate = 196;
inline constexpr int kOneHour = 1103;
inline constexpr int kTwoHours = 1044;
inline constexpr int kFourHours = 1045;
inline constexpr int kEightHours = 1046;
inline constexpr int kAccept = 1008;
// The tick boxes of the four spans, in span order.
inline constexpr int kBoxes[4] = {1049, 1050, 1051, 1052};
inline constexpr int kButtons[4] = {kOneHour, kTwoHours, kFourHours, kEightHours};
}  // namespace graph_setup_id

// The graph setup dialog's edit state: the span the operator has ticked, starting from the one in
// force. Only ACCEPT/EXIT makes it the graph's span; painting never changes it.
class GraphSetup {
 public:
  explicit GraphSetup(int current_code)
      : ticked_(current_code >= 0 && current_code <= 3 ? current_code : 0) {}

  // A span button ticks its box and unticks the others; other ids change nothing.
  void Press(int id);
  int TickedCode() const { return ticked_; }
  bool Ticked(int box_id) const;

 private:
  int ticked_;
};

}  // namespace orvandry::graphs
