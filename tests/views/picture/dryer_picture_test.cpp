#include "views/picture/dryer_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "link/status_map.h"
#include "platform/recording_canvas.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Bgr;
using platform::LineCall;
using platform::PictureCall;
using platform::Point;
using platform::RecordingCanvas;
using platform::TextCall;

// Tile pictures of all three sets, to tell tiles from the other pictures.
bool IsTile(int n) {
  return (n >= 292 && n <= 306) || (n >= 325 && n <= 336) || (n >= 341 && n <= 352);
}

// The fan/heater tile bytes: state 137 - k (0x01 fan, 0x02 burner), burner 131 - k (0x04 form).
std::size_t TileState(int k) {
  return 137 - static_cast<std::size_t>(k);
}
std::size_t TileBurner(int k) {
  return 131 - static_cast<std::size_t>(k);
}

// "180°F": a reading as the overlays show it.
std::string Deg(const char* value, char unit) {
  return std::string(value) + "\xB0" + unit;
}

class DryerPictureTest : public ::testing::Test {
 protected:
  RecordingCanvas& Paint() {
    canvas = RecordingCanvas(DryerPicture::kSize);
    notice = picture.Paint(canvas, state, phases, si);
    return canvas;
  }
  std::vector<const PictureCall*> Tiles() {
    std::vector<const PictureCall*> tiles;
    for (const PictureCall* p : canvas.All<PictureCall>())
      if (IsTile(p->resource)) tiles.push_back(p);
    return tiles;
  }
  int PictureAt(Point at) {
    for (const PictureCall* p : canvas.All<PictureCall>())
      if (p->at == at) return p->resource;
    return -1;
  }
  bool HasLine(Point a, Point b) {
    const auto lines = canvas.All<LineCall>();
    return std::any_of(lines.begin(), lines.end(), [&](const LineCall* l) {
      return l->from == a && l->to == b && l->colour == Bgr(0xAFAFAF);
    });
  }
  void ExpectText(std::string_view text, platform::Colour colour) {
    const TextCall* t = canvas.FindText(text);
    ASSERT_NE(t, nullptr) << text << " in\n" << canvas.Describe();
    EXPECT_EQ(t->colour, colour) << text;
  }

  void ExpectShown(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts)
      EXPECT_NE(canvas.FindText(text), nullptr) << text << " in\n" << canvas.Describe();
  }

  link::ByteImage state;
  AnimationPhases phases;
  bool si = false;
  DryerPicture picture;
  RecordingCanvas canvas{DryerPicture::kSize};
  bool notice = false;
};

TEST_F(DryerPictureTest, VariantFollowsModulesThenLayoutBitsAndDrawsItsBodyFirst) {
  struct Case {
    std::uint8_t modules, options;
    DryerVariant variant;
    int body;
    Point at;
  };
  const Case cases[] = {
      {0, 0x00, DryerVariant::kStandard, 367, {0, 25}},
      {0, 0x20, DryerVariant::kOnePlenum, 406, {0, 0}},
      {0, 0xA0, DryerVariant::kStandard, 367, {0, 25}},   // the standard bit wins
      {1, 0x20, DryerVariant::kTwoModule, 324, {15, 0}},  // modules win over both
      {2, 0x80, DryerVariant::kThreeModule, 323, {0, 0}},
      {7, 0x20, DryerVariant::kOnePlenum, 406, {0, 0}},  // an unknown code: the layout bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.modules) + "/" + std::to_string(c.options));
    state.Set(sm::kModuleCountCode, c.modules);
    state.Set(sm::kHardwareOptions, c.options);
    EXPECT_EQ(ChooseVariant(state), c.variant);
    Paint();
    ASSERT_GE(canvas.Count<PictureCall>(), 1U);
    EXPECT_EQ(canvas.All<PictureCall>().front()->resource, c.body);
    EXPECT_EQ(canvas.All<PictureCall>().front()->at, c.at);
    EXPECT_EQ(canvas.All<platform::FillRectCall>().front()->colour, Bgr(0x000000));
  }
}

TEST_F(DryerPictureTest, StandardTilesByFanCountAndMeteringRoll) {
  struct Case {
    std::uint8_t fans, roll_bits;
    std::vector<Point> tiles;  // fan/heater 1 last
    int tile, roll;
    Point roll_at;
  };
  const Case cases[] = {
      {0, 0x02, {{48, 145}}, 292, 487, {75, 100}},
      {1, 0x02, {{48, 100}, {48, 190}}, 292, 489, {185, 100}},
      {2, 0x00, {{63, 95}, {63, 155}, {63, 215}}, 341, 490, {185, 100}},
      {0, 0x00, {{48, 145}}, 292, 485, {75, 100}},
      {3, 0x00, {}, 0, 490, {185, 100}},
      {9, 0x00, {}, 0, 490, {185, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.fans});
    state.Set(sm::kFanCountCode, c.fans);
    state.Set(sm::kOptionBits183, c.roll_bits);
    Paint();
    ASSERT_EQ(Tiles().size(), c.tiles.size());
    for (Point at : c.tiles) EXPECT_EQ(PictureAt(at), c.tile) << at.x << "," << at.y;
    EXPECT_EQ(PictureAt(c.roll_at), c.roll);
  }
}

TEST_F(DryerPictureTest, TileShowsBurnerOverFanOverIdleFromItsOwnBytes) {
  struct Case {
    std::uint8_t fans;
    int k;
    std::uint8_t state_bits, burner_bits;
    Point at;
    int picture;
  };
  const Case cases[] = {
      {0, 1, 0x00, 0x00, {48, 145}, 292},
      {0, 1, 0x01, 0x00, {48, 145}, 295},
      {0, 1, 0x03, 0x00, {48, 145}, 304},
      {0, 1, 0x80, 0x00, {48, 145}, 292},
      {0, 1, 0x02, 0x04, {48, 145}, 301},
      // Fan/heater 3 of three: the compact set.
      {2, 3, 0x01, 0x00, {63, 95}, 344},
      {2, 3, 0x03, 0x00, {63, 95}, 350},
      {2, 3, 0x03, 0x04, {63, 95}, 347},
      {2, 3, 0x02, 0x00, {63, 95}, 350},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.state_bits) + "/" + std::to_string(c.burner_bits));
    state.Set(sm::kFanCountCode, c.fans);
    state.Set(TileState(c.k), c.state_bits);
    state.Set(TileBurner(c.k), c.burner_bits);
    Paint();
    EXPECT_EQ(PictureAt(c.at), c.picture);
    if (c.fans == 2) {
      EXPECT_EQ(PictureAt({63, 155}), 341) << "the others stay idle";
    }
  }
}

TEST_F(DryerPictureTest, TilesAndMarksFollowTheirOwnPhases) {
  state.Set(sm::kFanCountCode, 1);
  state.Set(TileState(1), 0x01);  // running
  state.Set(TileState(2), 0x03);  // firing
  struct Case {
    std::array<std::uint8_t, 6> fan;
    int tile1, tile2;
  };
  // Out of range phases show the first frame.
  const Case cases[] = {{{1, 2}, 296, 306}, {{2, 1}, 297, 305}, {{7, 255}, 295, 304}};
  for (const Case& c : cases) {
    phases.fan = c.fan;
    Paint();
    EXPECT_EQ(PictureAt({48, 190}), c.tile1);
    EXPECT_EQ(PictureAt({48, 100}), c.tile2);
  }

  phases = AnimationPhases{};
  phases.loading = 2;
  phases.direction_b = 1;
  Paint();
  EXPECT_EQ(PictureAt({75, 35}), 316);
  EXPECT_EQ(PictureAt({75, 292}), 310);
  EXPECT_EQ(PictureAt({107, 282}), 318);
  EXPECT_EQ(canvas.CountPicture(462), 0U);
  state.Set(sm::kDryerStateBits, 0x80);
  Paint();
  EXPECT_EQ(PictureAt({0, 0}), 462);
}

TEST_F(DryerPictureTest, TwoModuleTilesAndMarks) {
  state.Set(sm::kModuleCountCode, 1);
  struct Case {
    std::uint8_t code;
    std::vector<std::pair<int, int>> fan_y;  // fan/heater, y
  };
  const Case cases[] = {
      {1, {{2, 92}, {1, 277}}},
      {2, {{3, 92}, {2, 245}, {1, 310}}},
      {3, {{4, 60}, {3, 125}, {2, 245}, {1, 310}}},
      {4, {{3, 125}, {2, 245}, {1, 310}}},
      {0, {{2, 245}, {1, 310}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.code});
    state.Set(sm::kFanCountCode, c.code);
    Paint();
    ASSERT_EQ(Tiles().size(), c.fan_y.size());
    for (auto [fan, y] : c.fan_y) {
      // Give this fan/heater a running fan and see exactly its tile change.
      state.Set(TileState(fan), 0x01);
      Paint();
      EXPECT_EQ(PictureAt({48, y}), 344) << "fan " << fan;
      state.Set(TileState(fan), 0x00);
    }
  }
  state.Set(sm::kFanCountCode, 4);
  phases.loading = 1;
  phases.direction_b = 1;
  Paint();
  EXPECT_EQ(PictureAt({175, 65}), 490);
  EXPECT_EQ(PictureAt({63, 12}), 361);
  EXPECT_EQ(PictureAt({91, 368}), 364);
}

TEST_F(DryerPictureTest, ThreeModuleShowsUpToSixTilesEachWithItsBytes) {
  state.Set(sm::kModuleCountCode, 2);
  const std::pair<std::uint8_t, std::size_t> counts[] = {{0, 1}, {1, 2}, {2, 3},
                                                         {3, 4}, {4, 6}, {5, 0}};
  for (auto [code, n] : counts) {
    state.Set(sm::kFanCountCode, code);
    Paint();
    EXPECT_EQ(Tiles().size(), n) << "code " << int{code};
  }
  state.Set(sm::kFanCountCode, 4);
  state.Set(TileState(6), 0x03);  // fan/heater 6 firing, second form
  state.Set(TileBurner(6), 0x04);
  phases.fan[5] = 2;
  Paint();
  // Fan/heater 6 is the highest tile; the five others idle.
  auto tiles = Tiles();
  std::sort(tiles.begin(), tiles.end(), [](auto* a, auto* b) { return a->at.y < b->at.y; });
  EXPECT_EQ(tiles.front()->resource, 333);
  EXPECT_EQ(std::count_if(tiles.begin(), tiles.end(), [](auto* t) { return t->resource == 325; }),
            5);
}

TEST_F(DryerPictureTest, OnePlenumParts) {
  state.Set(sm::kHardwareOptions, 0x20);
  phases.fan = {2, 1, 1, 1, 1, 1};
  phases.unloading_slow = 1;
  Paint();
  EXPECT_EQ(PictureAt({51, 232}), 420);  // the fan is always drawn, by fan phase 1
  EXPECT_EQ(canvas.CountPicture(408) + canvas.CountPicture(409) + canvas.CountPicture(410), 0U);
  EXPECT_EQ(PictureAt({55, 308}), 426);
  EXPECT_EQ(PictureAt({118, 80}), 428);
  EXPECT_EQ(PictureAt({93, 53}), 433);
  EXPECT_TRUE(Tiles().empty());

  state.Set(TileState(1), 0x02);
  state.Set(168, 0x08);
  state.Set(169, 0x04);
  Paint();
  EXPECT_EQ(PictureAt({52, 175}), 410);
  EXPECT_EQ(PictureAt({118, 80}), 429);
  EXPECT_EQ(PictureAt({93, 53}), 434);
}

TEST_F(DryerPictureTest, StandardOverlayValuesColoursAndUnits) {
  state.SetBe16(sm::kIncomingMoisture, 185);
  state.SetT16(sm::kGrainTempSelector0, 180);
  state.SetBe16(sm::kUnloadRate, 1250);
  state.SetU32(sm::kBushelCounter, 36000);
  state.SetBe16(sm::kOutgoingGrainTemp, 955);  // tenths of a degree F
  state.SetBe16(sm::kMoistureSetpoint, 155);
  state.SetBe16(sm::kMeteringRpm, 127);
  state.Set(sm::kMeteringMode, 3);
  Paint();
  ExpectText("18.5%", Bgr(0x00C800));
  ExpectText(Deg("180", 'F'), Bgr(0x00FFFF));
  ExpectText("BPH 1250", Bgr(0xFFFFFF));
  ExpectText("15.5%", Bgr(0x00C8C8));
  ExpectShown({"TB 10", Deg("95 ", 'F'), "RPM 12.7"});
  EXPECT_EQ(canvas.FindText("Ave In:"), nullptr);
  // The two leader lines and the short scale.
  EXPECT_TRUE(HasLine({135, 48}, {190, 48}));
  EXPECT_TRUE(HasLine({175, 208}, {190, 208}));
  EXPECT_TRUE(HasLine({170, 285}, {170, 345}));

  // Metric: 1250 bushels of corn an hour are 31.75 tonnes, 10 bushels 0.25 tonnes.
  si = true;
  Paint();
  ExpectShown({Deg("82", 'C'), Deg("35 ", 'C'), "MTH 31", "MT 0"});
  state.SetU32(sm::kBushelCounter, 0xFFFFFFFF);  // no overflow at the counter's top
  Paint();
  ExpectShown({"MT 30304"});
  si = false;
  Paint();
  ExpectShown({"TB 1193046"});

  state.Set(sm::kHardwareOptions, 0x04);  // rice
  Paint();
  ExpectText("RICE", Bgr(0x00FFFF));
  state.Set(sm::kHardwareOptions, 0x00);
  state.SetT16(sm::kGrainTempSelector0, -4);
  si = true;
  Paint();
  ExpectShown({Deg("-20", 'C')});
}

TEST_F(DryerPictureTest, OutgoingMoistureSetpointAndSamplerByMode) {
  state.SetBe16(sm::kOutgoingMoisture, 152);
  state.SetBe16(sm::kMoistureSetpoint, 155);
  state.Set(sm::kSamplerState, 1);
  struct Case {
    std::uint8_t mode, config, batch;
    bool outgoing, setpoint, long_scale;
  };
  const Case cases[] = {
      {1, 0x00, 0, true, false, true},    // mode bits 0x3F = 1: setpoint hidden
      {0x21, 0x00, 0, true, true, true},  // 0x3F no longer 1
      {5, 0x00, 0, true, false, true},   {3, 0x00, 0, false, true, false},
      {3, 0x10, 0, true, true, false},   // the outgoing moisture by configuration
      {6, 0x10, 1, true, false, false},  // bits 0x30 in batch drying hide the setpoint
      {6, 0x20, 1, false, false, false}, {6, 0x00, 1, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " config " + std::to_string(c.config));
    state.Set(sm::kMeteringMode, c.mode);
    state.Set(sm::kConfigBits, c.config);
    state.Set(sm::kBatchSelector, c.batch);
    Paint();
    const TextCall* outgoing = canvas.FindText("15.2%");
    EXPECT_EQ(outgoing != nullptr, c.outgoing);
    if (outgoing) {
      EXPECT_EQ(outgoing->colour, Bgr(0x00C800));
    }
    EXPECT_EQ(canvas.FindText("15.5%") != nullptr, c.setpoint);
    EXPECT_EQ(HasLine({170, 285}, {170, 355}), c.long_scale);
  }
  EXPECT_EQ(canvas.FindText("SAMPLING"), nullptr) << "only a cycled sampler is shown";
  state.Set(sm::kSamplerConfig, 0x80);
  const std::pair<std::uint8_t, const char*> sampler[] = {
      {1, "SAMPLING"}, {2, "CLEANING"}, {0, "STOPPED"}, {9, "STOPPED"}};
  for (auto [value, text] : sampler) {
    state.Set(sm::kSamplerState, value);
    Paint();
    ExpectText(text, Bgr(0xFF0000));
  }
}

TEST_F(DryerPictureTest, BatchDryingShowsAveragesAndBatchCount) {
  state.Set(sm::kBatchSelector, 1);
  state.SetBe16(sm::kAverageIncomingMoisture, 221);
  state.SetBe16(sm::kAverageOutgoingMoisture, 150);
  state.SetBe16(sm::kBatchCounter, 37);
  Paint();
  ExpectText("Ave In:", Bgr(0x960000));
  ExpectText("22.1%", Bgr(0x00FA00));
  ExpectShown({"Ave Out:", "15.0%", "37"});
  EXPECT_EQ(canvas.FindTextContaining("RPM"), nullptr);
}

TEST_F(DryerPictureTest, MeteringLabelsByModeAndSpeed) {
  state.Set(245, 64);
  struct Case {
    std::uint8_t mode, selection, step, control, tenths;
    const char* scheme;
    const char* type;
    const char* speed;
  };
  const Case cases[] = {
      {1, 2, 0, 0, 0, "TEMP", "TEMP", "HI 64"},
      {1, 0, 0, 0, 0, "TEMP", "TEMP", "LO 64"},
      {0x41, 0, 0, 0, 0, "TEMP", "ON/OFF", "LOW 64"},
      {0x81, 2, 0, 0, 0, "TEMP", "AUTO 2SP", "HI 64"},
      {2, 1, 0, 0, 0, "3 SPEED", "NONE", "MED 64"},
      {2, 3, 0, 0, 0, "3 SPEED", "NONE", ""},
      {3, 0, 0, 3, 127, "", "MOIST", "MED 12.7"},
      {3, 0, 0, 0, 127, "", "MOIST", "MED 64"},
      {4, 0, 0x01, 0, 0, "", "MOIST", "M-HI 64"},
      {5, 0, 0xFE, 0, 0, "TEMP-5SP", "TEMP", "M-LO 64"},
      {5, 0, 0x00, 0, 0, "TEMP-5SP", "TEMP", "MED 64"},
      {0, 0, 0, 0, 0, "TYPE:NONE", "NONE", ""},
      {7, 0, 0, 0, 0, "TYPE:NONE", "NONE", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " speed " + c.speed);
    state.Set(sm::kMeteringMode, c.mode);
    state.Set(sm::kMeteringSpeedShown, c.selection);
    state.Set(220, c.step);
    state.Set(sm::kMeteringControl201, c.control);
    state.Set(223, c.tenths);
    const MeteringLabels labels = MeteringLabelsOf(state);
    EXPECT_EQ(labels.scheme, c.scheme);
    EXPECT_EQ(labels.type, c.type);
    EXPECT_EQ(labels.speed, c.speed);
  }
  // And the overlay draws them in their colours.
  state.Set(sm::kMeteringMode, 2);
  state.Set(sm::kMeteringSpeedShown, 2);
  Paint();
  ExpectText("3 SPEED", Bgr(0x00C800));
  ExpectText("NONE", Bgr(0x0000FF));
  ExpectText("HI 64", Bgr(0x0000FF));
}

TEST_F(DryerPictureTest, OtherOverlaysAddTheGoverningGrainTemperatureAndSetpoints) {
  state.SetT16(sm::kGrainTempSelector0, 100);
  state.SetT16(sm::kGrainTempSelector1, 110);
  state.SetT16(sm::kGrainTempSelector2, 120);
  state.SetT16(sm::kGrainTempSetpoint, 105);
  state.SetT16(sm::kGrainHighTemp, 140);
  state.SetT16(sm::kGrainLowTemp, 90);
  state.SetBe16(sm::kIncomingMoisture, 201);
  state.SetBe16(sm::kUnloadRate, 800);
  for (std::uint8_t modules : {1, 2}) {
    SCOPED_TRACE(int{modules});
    state.Set(sm::kModuleCountCode, modules);
    state.Set(sm::kGrainTempSelector, 2);
    Paint();
    ExpectText(Deg("120", 'F'), Bgr(0x00FFFF));
    ExpectShown(
        {Deg("105", 'F'), Deg("140", 'F'), Deg("90", 'F'), Deg("100", 'F'), "20.1%", "BPH 800"});
    state.Set(sm::kGrainTempSelector, 3);  // names no sensor
    Paint();
    ExpectShown({"---"});
    EXPECT_EQ(canvas.FindText(Deg("120", 'F')), nullptr);
  }
  state.Set(sm::kModuleCountCode, 0);
  state.Set(sm::kHardwareOptions, 0x20);
  state.Set(sm::kGrainTempSelector, 1);
  si = true;
  Paint();
  ExpectShown({Deg("43", 'C'), "MTH 20"});  // 110 F
  // Everything stays inside the window.
  for (const TextCall* text : canvas.All<TextCall>()) {
    ASSERT_TRUE(text->rect.has_value());
    EXPECT_LE(text->rect->Right(), 240);
    EXPECT_LE(text->rect->Bottom(), 420);
  }
}

TEST_F(DryerPictureTest, BatchUnloadNoticeOncePerRisingCondition) {
  state.Set(sm::kBatchSelector, 1);
  Paint();
  EXPECT_FALSE(notice);
  state.Set(sm::kStatusBits179, 0x02);
  Paint();
  EXPECT_TRUE(notice);
  EXPECT_TRUE(picture.NoticeLatched());
  Paint();
  EXPECT_FALSE(notice);  // not again on every repaint
  state.Set(sm::kBatchSelector, 0);
  Paint();
  EXPECT_FALSE(notice);
  EXPECT_FALSE(picture.NoticeLatched());
  state.Set(sm::kBatchSelector, 1);
  Paint();
  EXPECT_TRUE(notice);               // once more when the condition comes back
  state.Set(sm::kBatchSelector, 3);  // only batch drying proper counts
  Paint();
  EXPECT_FALSE(notice);
  EXPECT_FALSE(picture.NoticeLatched());
}

}  // namespace
}  // namespace orvandry::views
