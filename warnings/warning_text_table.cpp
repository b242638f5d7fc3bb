#include "warnings/warning_text_table.h"

namespace orvandry::warnings {
namespace {

using Cell = std::array<char, WarningTextTable::kTextCapacity>;
using Block = std::array<Cell, WarningTextTable::kWarningsPerNode>;
using Table = std::array<Block, WarningTextTable::kNodeCount>;

constexpr std::uint8_t kFirstFanHeaterNode = 2;
constexpr std::uint8_t kLastFanHeaterNode = 7;
// Only the first fan/heater carries the gas pressure low limit input.
constexpr std::size_t kSharedFanHeaterEntries = 0x14;

constexpr Cell MakeCell(std::string_view text) {
  Cell cell{};
  for (std::size_t i = 0; i < text.size() && i + 1 < cell.size(); ++i) cell[i] = text[i];
  return cell;
}

constexpr std::string_view kPlaceHolder = "PLACE HOLDER MESSAGE";

constexpr std::string_view kDisplayIo[] = {
    "0100 - BEGIN DISPLAY I/O ERROR",
    "0101 - DISPLAY I/O NETWORK CONNECTION FAILED",
    "0102 - NETWORK CABLE FAILED BETWEEN F/H #4 AND F/H #5",
    "0103 - NETWORK CABLE FAILED BETWEEN F/H #3 AND F/H #4",
    "0104 - NETWORK CABLE FAILED BETWEEN F/H #2 AND F/H #3",
    "0105 - NETWORK CABLE FAILED BETWEEN F/H #1 AND F/H #2",
    "0106 - NETWORK CABLE FAILED BETWEEN MAIN IO AND F/H #1",
    "0107 - NETWORK CABLE FAILED BETWEEN MC AND MAIN IO",
    "0108 - LOST COMMUNICATIONS TO DISPLAY IO",
    "0109 - DRYER SELECTION IS INVALID",
    "010A - STAGED BATCH DRY AND COOL SHUTDOWN",
};

// The block of fan/heater #1; the other five are derived from it.
constexpr std::string_view kFanHeater1[] = {
    "0200 - BEGIN FAN/HEATER #1 WARNINGS",
    "0201 - FAN #1 MOTOR OVERLOAD",
    "0202 - BURNER #1 HOUSING TEMP HI LIMIT",
    "0203 - BURNER #1 VAPOR TEMP HI LIMIT",
    "0204 - BURNER #1 PLENUM OVERHEAT",
    "0205 - BURNER #1 GRAIN OVERHEAT",
    "0206 - BURNER #1 GAS PRESSURE HI LIMIT",
    "0207 - FAN #1 LOST AIRFLOW",
    "0208 - FAN #1 NO AIRFLOW",
    "0209 - BURNER #1 IGNITION FAILURE",
    "020A - BURNER #1 LOST FLAME DETECTION",
    "020B - BURNER #1 PLENUM OVERHEAT (THERMISTOR)",
    "020C - BURNER #1 GRAIN OVERHEAT (THERMISTOR)",
    "020D - PLENUM #1 TEMPERATURE SENSOR SHORTED",
    "020E - PLENUM #1 TEMPERATURE SENSOR OPEN",
    "020F - GRAIN #1 TEMPERATURE SENSOR SHORTED",
    "0210 - GRAIN #1 TEMPERATURE SENSOR OPEN",
    "0211 - FAN #1 CONTACTOR DID NOT CLOSE",
    "0212 - FAN #1 HAD AIRLFOW BEFORE FAN POWER",
    "0213 - FAN #1 NETWORK CONNECTION FAILED",
    "0214 - J4-02 GAS PRESSURE LOW LIMIT",
};

constexpr std::string_view kInterfaceMarkers[] = {
    "0800 - BEGIN FH #1 INTERFACE WARNINGS", "0900 - BEGIN FH #2 INTERFACE WARNINGS",
    "0A00 - BEGIN FH #3 INTERFACE WARNINGS", "0B00 - BEGIN FH #4 INTERFACE WARNINGS",
    "0C00 - BEGIN FH #5 INTERFACE WARNINGS", "0D00 - BEGIN FH #6 INTERFACE WARNINGS",
};
constexpr std::uint8_t kFirstInterfaceNode = 8;

constexpr std::string_view kMainIo[] = {
    "0E00 - BEGIN MAIN I/O WARNINGS",
    "0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD",
    "0E02 - MAIN I/O - PRIMARY LOAD MOTOR OVERLOAD",
    "0E03 - MAIN I/O - AUXILIARY UNLOAD MOTOR OVERLOAD",
    "0E04 - MAIN I/O - AUXILIARY LOAD MOTOR OVERLOAD",
    "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED",
    "0E06 - MAIN I/O - AIR SYSTEM FAILURE",
    "0E07 - MAIN I/O - J2-03 - HARDWARE SAFETY SYSTEM FAILED",
    "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED",
    "0E09 - MAIN I/O - NETWORK CONNECTION FAILED",
    "0E0A - MAIN I/O FUSE BLOWN ON J6-03 (PRI-UNLOAD)",
    "0E0B - MAIN I/O FUSE BLOWN ON J6-05 (PRI-LOAD)",
    "0E0C - MAIN I/O FUSE BLOWN ON J6-07 (AUX-UNLOAD)",
    "0E0D - MAIN I/O FUSE BLOWN ON J6-09 (AUX-LOAD)",
    "0E0E - MAIN I/O FUSE BLOWN ON J7-01 (MAIN GAS VALVE)",
    "0E0F - MAIN I/O FUSE BLOWN ON J6-03 (METER ROLL DRIVE)",
    "0E10 - MAIN I/O FUSE BLOWN ON J6-05 (METER ROLL REVERSE)",
    "0E11 - MAIN I/O FUSE BLOWN ON J6-07 (EXTRA #1)",
    "0E12 - MAIN I/O FUSE BLOWN ON J6-09 (EXTRA #2)",
    "0E13 - MAIN I/O METERING ROLL DRIVE FAILURE",
    "0E14 - MAIN I/O USER SAFETY 1 OPEN",
    "0E15 - MAIN I/O VALVE PROVING SYSTEM FAILURE",
    "0E16 - MAIN I/O J2-04 - USER SAFETY 2 OPEN",
    "0E17 - MAIN I/O J2-05 - USER SAFETY 3 OPEN",
    "0E18 - MAIN I/O J2-02 - METERING MOTOR OVERLOAD)",
    "0E19 - MAIN I/O J2-06 - USER SAFETY 4 OPEN",
};
constexpr std::uint8_t kMainIoNode = 14;

constexpr std::string_view kMoistureControl[] = {
    "0F00 - BEGIN MOISTURE CONTROL WARNINGS",
    "0F01 - MC - NETWORK CONNECTION FAILED",
    "0F02 - MAX DRYING TIME EXCEEDED",
    "0F03 - MAX GRAIN TEMPERATURE EXCEEDED",
};
constexpr std::uint8_t kMoistureControlNode = 15;

constexpr char HexDigit(unsigned value) {
  return static_cast<char>(value < 10 ? '0' + value : 'A' + (value - 10));
}

// A fan/heater block for node `node_id`: the text of fan/heater #1 with its own code in front and
// every "#1" naming its fan/heater number instead.
constexpr Cell FanHeaterCell(std::string_view first_block_text, std::uint8_t node_id) {
  Cell cell = MakeCell(first_block_text);
  cell[0] = HexDigit(node_id >> 4);
  cell[1] = HexDigit(node_id & 0xF);
  const char number = static_cast<char>('0' + (node_id - 1));
  for (std::size_t i = 0; i + 1 < cell.size() && cell[i + 1] != '\0'; ++i)
    if (cell[i] == '#' && cell[i + 1] == '1') cell[i + 1] = number;
  return cell;
}

template <std::size_t N>
constexpr void FillBlock(Block& block, const std::string_view (&texts)[N]) {
  static_assert(N <= WarningTextTable::kWarningsPerNode);
  for (std::size_t i = 0; i < N; ++i) block[i] = MakeCell(texts[i]);
}

constexpr Table BuildTable() {
  Table table{};
  table[0][0] = MakeCell(kPlaceHolder);
  FillBlock(table[1], kDisplayIo);
  FillBlock(table[kFirstFanHeaterNode], kFanHeater1);
  for (std::uint8_t node = kFirstFanHeaterNode + 1; node <= kLastFanHeaterNode; ++node)
    for (std::size_t id = 0; id < kSharedFanHeaterEntries; ++id)
      table[node][id] = FanHeaterCell(kFanHeater1[id], node);
  for (std::size_t i = 0; i < std::size(kInterfaceMarkers); ++i)
    table[kFirstInterfaceNode + i][0] = MakeCell(kInterfaceMarkers[i]);
  FillBlock(table[kMainIoNode], kMainIo);
  FillBlock(table[kMoistureControlNode], kMoistureControl);
  return table;
}

constexpr Table kTable = BuildTable();

constexpr std::string_view kNodeNames[WarningTextTable::kNodeCount] = {
    "",
    "DISPLAY I/O",
    "FAN/HEATER #1",
    "FAN/HEATER #2",
    "FAN/HEATER #3",
    "FAN/HEATER #4",
    "FAN/HEATER #5",
    "FAN/HEATER #6",
    "FAN/HEATER INT #1",
    "FAN/HEATER INT #2",
    "FAN/HEATER INT #3",
    "FAN/HEATER INT #4",
    "FAN/HEATER INT #5",
    "FAN/HEATER INT #6",
    "MAIN I/O",
    "MOISTURE CONT",
};

}  // namespace

std::string_view WarningTextTable::Text(std::uint8_t node_id, std::uint8_t warning_id) {
  if (node_id >= kNodeCount || warning_id >= kWarningsPerNode) return {};
  return std::string_view(kTable[node_id][warning_id].data());
}

std::string_view WarningText(WarningCode code) {
  return WarningTextTable::Text(NodeIdOf(code), WarningIdOf(code));
}

std::string_view NodeName(std::uint8_t node_id) {
  if (node_id >= WarningTextTable::kNodeCount) return {};
  return kNodeNames[node_id];
}

}  // namespace orvandry::warnings
