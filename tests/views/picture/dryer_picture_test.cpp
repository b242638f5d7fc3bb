#include "views/picture/dryer_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
  const PictureCall* PictureAt(Point at) {
    for (const PictureCall* p : canvas.All<PictureCall>())
      if (p->at == at) return p;
    return nullptr;
  }
  int PictureNumberAt(Point at) {
    const PictureCall* p = PictureAt(at);
    return p ? p->resource : -1;
  }
  std::string Text(std::string_view text) {
    const TextCall* t = canvas.FindText(text);
    return t ? t->text : "<missing> in\n" + canvas.Describe();
  }

  link::ByteImage state;
  AnimationPhases phases;
  bool si = false;
  DryerPicture picture;
  RecordingCanvas canvas{DryerPicture::kSize};
  bool notice = false;
};

TEST_F(DryerPictureTest, VariantFollowsModulesThenLayoutBits) {
  EXPECT_EQ(ChooseVariant(state), DryerVariant::kStandard);
  state.Set(sm::kHardwareOptions, 0x20);
  EXPECT_EQ(ChooseVariant(state), DryerVariant::kOnePlenum);
  state.Set(sm::kHardwareOptions, 0xA0);  // the standard bit wins over the one-plenum bit
  EXPECT_EQ(ChooseVariant(state), DryerVariant::kStandard);
  state.Set(sm::kHardwareOptions, 0x20);
  state.Set(sm::kModuleCountCode, 1);  // modules win over both
  EXPECT_EQ(ChooseVariant(state), DryerVariant::kTwoModule);
  state.Set(sm::kModuleCountCode, 2);
  EXPECT_EQ(ChooseVariant(state), DryerVariant::kThreeModule);
  state.Set(sm::kModuleCountCode, 7);  // an unknown module code falls through to the layout bits
  EXPECT_EQ(ChooseVariant(state), DryerVariant::kOnePlenum);

  // Each variant draws its own body first, over the black ground.
  const std::pair<std::uint8_t, int> bodies[] = {{0, 367}, {1, 324}, {2, 323}};
  for (auto [modules, body] : bodies) {
    state.Set(sm::kModuleCountCode, modules);
    state.Set(sm::kHardwareOptions, 0x80);
    Paint();
    ASSERT_GE(canvas.Count<PictureCall>(), 1U);
    EXPECT_EQ(canvas.All<PictureCall>().front()->resource, body);
    EXPECT_EQ(canvas.All<platform::FillRectCall>().front()->colour, Bgr(0x000000));
  }
  state.Set(sm::kModuleCountCode, 0);
  state.Set(sm::kHardwareOptions, 0x20);
  Paint();
  EXPECT_EQ(PictureNumberAt({0, 0}), 406);
  state.Set(sm::kHardwareOptions, 0x00);
  Paint();
  EXPECT_EQ(PictureNumberAt({0, 25}), 367);
}

TEST_F(DryerPictureTest, StandardTilesByFanCount) {
  state.Set(sm::kFanCountCode, 0);
  Paint();
  ASSERT_EQ(Tiles().size(), 1U);
  EXPECT_EQ(Tiles()[0]->at, (Point{48, 145}));
  EXPECT_EQ(Tiles()[0]->resource, 292);

  state.Set(sm::kFanCountCode, 1);
  Paint();
  ASSERT_EQ(Tiles().size(), 2U);
  EXPECT_EQ(PictureNumberAt({48, 100}), 292);  // fan/heater 2
  EXPECT_EQ(PictureNumberAt({48, 190}), 292);  // fan/heater 1

  state.Set(sm::kFanCountCode, 2);
  Paint();
  ASSERT_EQ(Tiles().size(), 3U);
  for (Point at : {Point{63, 95}, Point{63, 155}, Point{63, 215}})
    EXPECT_EQ(PictureNumberAt(at), 341);

  for (std::uint8_t code : {3, 4, 9}) {
    state.Set(sm::kFanCountCode, code);
    Paint();
    EXPECT_TRUE(Tiles().empty()) << "code " << int{code};
  }
}

TEST_F(DryerPictureTest, TileShowsBurnerOverFanOverIdleFromItsOwnBytes) {
  state.Set(sm::kFanCountCode, 2);
  // Fan/heater 3 reads state byte 134 and burner byte 128; the others stay idle.
  state.Set(134, 0x01);
  Paint();
  EXPECT_EQ(PictureNumberAt({63, 95}), 344);
  EXPECT_EQ(PictureNumberAt({63, 155}), 341);
  state.Set(134, 0x03);  // fan and burner: the burner picture
  Paint();
  EXPECT_EQ(PictureNumberAt({63, 95}), 350);
  state.Set(128, 0x04);  // second burner form
  Paint();
  EXPECT_EQ(PictureNumberAt({63, 95}), 347);
  state.Set(134, 0x02);
  state.Set(128, 0x00);
  Paint();
  EXPECT_EQ(PictureNumberAt({63, 95}), 350);

  // The one- and two-fan set.
  state.Set(sm::kFanCountCode, 0);
  const std::pair<std::uint8_t, int> cases[] = {{0x00, 292}, {0x01, 295}, {0x03, 304}, {0x80, 292}};
  for (auto [bits, first] : cases) {
    state.Set(136, bits);
    Paint();
    EXPECT_EQ(PictureNumberAt({48, 145}), first) << "bits " << int{bits};
  }
  state.Set(136, 0x02);
  state.Set(130, 0x04);
  Paint();
  EXPECT_EQ(PictureNumberAt({48, 145}), 301);
}

TEST_F(DryerPictureTest, TileFrameFollowsItsOwnFanPhase) {
  state.Set(sm::kFanCountCode, 1);
  state.Set(136, 0x01);  // fan/heater 1 running
  state.Set(135, 0x03);  // fan/heater 2 firing
  phases.fan = {1, 2, 0, 0, 0, 0};
  Paint();
  EXPECT_EQ(PictureNumberAt({48, 190}), 296);
  EXPECT_EQ(PictureNumberAt({48, 100}), 306);
  phases.fan = {2, 1, 0, 0, 0, 0};
  Paint();
  EXPECT_EQ(PictureNumberAt({48, 190}), 297);
  EXPECT_EQ(PictureNumberAt({48, 100}), 305);
  phases.fan = {7, 255, 0, 0, 0, 0};  // out of range: first frame
  Paint();
  EXPECT_EQ(PictureNumberAt({48, 190}), 295);
  EXPECT_EQ(PictureNumberAt({48, 100}), 304);

  for (int frame = 0; frame < 3; ++frame) {
    EXPECT_EQ(TilePicture(TileSet::kCompact, TileKind::kBurnerSecond, frame), 347 + frame);
    EXPECT_EQ(TilePicture(TileSet::kThreeModule, TileKind::kIdle, frame), 325 + frame);
    EXPECT_EQ(TilePicture(TileSet::kThreeModule, TileKind::kFanRunning, frame), 328 + frame);
    EXPECT_EQ(TilePicture(TileSet::kThreeModule, TileKind::kBurnerSecond, frame), 331 + frame);
    EXPECT_EQ(TilePicture(TileSet::kThreeModule, TileKind::kBurnerFirst, frame), 334 + frame);
  }
}

TEST_F(DryerPictureTest, StandardMarksFollowTheirPhases) {
  state.Set(sm::kFanCountCode, 1);
  phases.loading = 2;
  phases.unloading_fast = 1;
  phases.direction_a = 1;
  phases.direction_b = 2;
  Paint();
  EXPECT_EQ(PictureNumberAt({75, 35}), 316);
  EXPECT_EQ(PictureNumberAt({75, 292}), 311);
  EXPECT_EQ(PictureNumberAt({55, 282}), 318);
  EXPECT_EQ(PictureNumberAt({107, 282}), 319);
  phases = AnimationPhases{};
  phases.loading = 3;
  Paint();
  EXPECT_EQ(PictureNumberAt({75, 35}), 310);
  EXPECT_EQ(PictureNumberAt({75, 292}), 310);
  EXPECT_EQ(PictureNumberAt({55, 282}), 317);
  EXPECT_EQ(canvas.CountPicture(462), 0U);
  state.Set(sm::kDryerStateBits, 0x80);
  Paint();
  EXPECT_EQ(PictureNumberAt({0, 0}), 462);
}

TEST_F(DryerPictureTest, MeteringRollBySizeAndFanCount) {
  struct Case {
    std::uint8_t fans, bits183;
    int picture;
    Point at;
  };
  const Case cases[] = {{0, 0x02, 487, {75, 100}},
                        {1, 0x02, 489, {185, 100}},
                        {0, 0x00, 485, {75, 100}},
                        {4, 0x00, 490, {185, 100}}};
  for (const Case& c : cases) {
    state.Set(sm::kFanCountCode, c.fans);
    state.Set(sm::kOptionBits183, c.bits183);
    Paint();
    EXPECT_EQ(PictureNumberAt(c.at), c.picture);
  }
  state.Set(sm::kModuleCountCode, 1);
  Paint();
  EXPECT_EQ(PictureNumberAt({175, 65}), 490);
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
    state.Set(sm::kFanCountCode, c.code);
    Paint();
    ASSERT_EQ(Tiles().size(), c.fan_y.size()) << "code " << int{c.code};
    for (auto [fan, y] : c.fan_y) {
      // Give this fan/heater a running fan and see exactly its tile change.
      state.Set(137 - static_cast<std::size_t>(fan), 0x01);
      Paint();
      EXPECT_EQ(PictureNumberAt({48, y}), 344) << "code " << int{c.code} << " fan " << fan;
      state.Set(137 - static_cast<std::size_t>(fan), 0x00);
    }
  }
  phases.loading = 1;
  phases.unloading_fast = 2;
  phases.direction_a = 2;
  phases.direction_b = 1;
  Paint();
  EXPECT_EQ(PictureNumberAt({15, 0}), 324);
  EXPECT_EQ(PictureNumberAt({63, 12}), 361);
  EXPECT_EQ(PictureNumberAt({67, 380}), 362);
  EXPECT_EQ(PictureNumberAt({49, 368}), 365);
  EXPECT_EQ(PictureNumberAt({91, 368}), 364);
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
  state.Set(131, 0x03);  // fan/heater 6 firing, second form from burner byte 125
  state.Set(125, 0x04);
  phases.fan[5] = 2;
  Paint();
  std::multiset<int> shown;
  for (const PictureCall* tile : Tiles()) shown.insert(tile->resource);
  EXPECT_EQ(shown.count(333), 1U);
  EXPECT_EQ(shown.count(325), 5U);
  // Fan/heater 1 is the lowest tile, fan/heater 6 the highest.
  const auto tiles = Tiles();
  const auto lowest = std::max_element(tiles.begin(), tiles.end(),
                                       [](auto* a, auto* b) { return a->at.y < b->at.y; });
  const auto highest = std::min_element(tiles.begin(), tiles.end(),
                                        [](auto* a, auto* b) { return a->at.y < b->at.y; });
  EXPECT_EQ((*highest)->resource, 333);
  EXPECT_NE((*lowest)->resource, 333);
}

TEST_F(DryerPictureTest, OnePlenumParts) {
  state.Set(sm::kHardwareOptions, 0x20);
  phases.fan = {2, 1, 1, 1, 1, 1};
  phases.loading = 1;
  phases.unloading_fast = 2;
  phases.unloading_slow = 1;
  Paint();
  EXPECT_EQ(PictureNumberAt({51, 232}), 420);  // the fan is always drawn, by fan phase 1
  EXPECT_EQ(canvas.CountPicture(408) + canvas.CountPicture(409) + canvas.CountPicture(410), 0U);
  EXPECT_EQ(PictureNumberAt({43, 10}), 423);
  EXPECT_EQ(PictureNumberAt({66, 326}), 432);
  EXPECT_EQ(PictureNumberAt({55, 308}), 426);
  EXPECT_EQ(PictureNumberAt({118, 80}), 428);
  EXPECT_EQ(PictureNumberAt({93, 53}), 433);

  state.Set(136, 0x02);
  state.Set(168, 0x08);
  state.Set(169, 0x04);
  Paint();
  EXPECT_EQ(PictureNumberAt({52, 175}), 410);
  EXPECT_EQ(PictureNumberAt({118, 80}), 429);
  EXPECT_EQ(PictureNumberAt({93, 53}), 434);
  EXPECT_TRUE(Tiles().empty());
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

  const TextCall* incoming = canvas.FindText("18.5%");
  ASSERT_NE(incoming, nullptr) << canvas.Describe();
  EXPECT_EQ(incoming->colour, Bgr(0x00C800));
  EXPECT_EQ(incoming->background_mode, platform::BackgroundMode::kTransparent);
  const TextCall* grain = canvas.FindText(
      "180\xB0"
      "F");
  ASSERT_NE(grain, nullptr) << canvas.Describe();
  EXPECT_EQ(grain->colour, Bgr(0x00FFFF));
  EXPECT_EQ(canvas.FindText("BPH 1250")->colour, Bgr(0xFFFFFF));
  EXPECT_EQ(canvas.FindText("TB 10")->colour, Bgr(0xFFFFFF));
  EXPECT_EQ(canvas
                .FindText("95 \xB0"
                          "F")
                ->colour,
            Bgr(0x00FFFF));
  EXPECT_EQ(canvas.FindText("15.5%")->colour, Bgr(0x00C8C8));
  EXPECT_EQ(canvas.FindText("RPM 12.7")->colour, Bgr(0xFFFFFF));
  EXPECT_EQ(canvas.FindText("Ave In:"), nullptr);
  EXPECT_EQ(canvas.FindText("CLEANING"), nullptr);

  // The two leader lines and the scale, all in the grey pen.
  const auto lines = canvas.All<LineCall>();
  auto has_line = [&](Point a, Point b) {
    return std::any_of(lines.begin(), lines.end(), [&](const LineCall* l) {
      return l->from == a && l->to == b && l->colour == Bgr(0xAFAFAF);
    });
  };
  EXPECT_TRUE(has_line({135, 48}, {190, 48}));
  EXPECT_TRUE(has_line({175, 208}, {190, 208}));
  EXPECT_TRUE(has_line({170, 285}, {170, 345}));
  EXPECT_TRUE(has_line({157, 305}, {178, 305}));
  EXPECT_TRUE(has_line({170, 345}, {178, 345}));
  EXPECT_FALSE(has_line({170, 355}, {178, 355}));

  si = true;
  Paint();
  EXPECT_NE(canvas.FindText("82\xB0"
                            "C"),
            nullptr)
      << canvas.Describe();
  EXPECT_NE(canvas.FindText("35 \xB0"
                            "C"),
            nullptr)
      << canvas.Describe();
  // 1250 bushels of corn an hour are 31.75 tonnes; 10 bushels 0.25 tonnes.
  EXPECT_NE(canvas.FindText("MTH 31"), nullptr) << canvas.Describe();
  EXPECT_NE(canvas.FindText("MT 0"), nullptr) << canvas.Describe();
  state.SetU32(sm::kBushelCounter, 0xFFFFFFFF);  // no overflow at the counter's top
  Paint();
  EXPECT_NE(canvas.FindText("MT 30304"), nullptr) << canvas.Describe();
  si = false;
  Paint();
  EXPECT_NE(canvas.FindText("TB 1193046"), nullptr) << canvas.Describe();

  state.Set(sm::kHardwareOptions, 0x04);  // rice
  state.SetT16(sm::kGrainTempSelector0, -4);
  Paint();
  EXPECT_EQ(canvas.FindText("RICE")->colour, Bgr(0x00FFFF));
  state.Set(sm::kHardwareOptions, 0x00);
  si = true;
  Paint();
  EXPECT_NE(canvas.FindText("-20\xB0"
                            "C"),
            nullptr)
      << canvas.Describe();
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
    state.Set(sm::kMeteringMode, c.mode);
    state.Set(sm::kConfigBits, c.config);
    state.Set(sm::kBatchSelector, c.batch);
    Paint();
    const TextCall* outgoing = canvas.FindText("15.2%");
    EXPECT_EQ(outgoing != nullptr, c.outgoing)
        << "mode " << int{c.mode} << " config " << int{c.config};
    if (outgoing) {
      EXPECT_EQ(outgoing->colour, Bgr(0x00C800));
    }
    EXPECT_EQ(canvas.FindText("15.5%") != nullptr, c.setpoint) << "mode " << int{c.mode};
    const auto lines = canvas.All<LineCall>();
    const bool long_scale = std::any_of(lines.begin(), lines.end(), [](const LineCall* l) {
      return l->from == Point{170, 285} && l->to == Point{170, 355};
    });
    EXPECT_EQ(long_scale, c.long_scale) << "mode " << int{c.mode};
  }
  EXPECT_EQ(canvas.FindText("SAMPLING"), nullptr);
  state.Set(sm::kSamplerConfig, 0x80);
  const std::pair<std::uint8_t, const char*> sampler[] = {
      {1, "SAMPLING"}, {2, "CLEANING"}, {0, "STOPPED"}, {9, "STOPPED"}};
  for (auto [value, text] : sampler) {
    state.Set(sm::kSamplerState, value);
    Paint();
    ASSERT_NE(canvas.FindText(text), nullptr) << canvas.Describe();
    EXPECT_EQ(canvas.FindText(text)->colour, Bgr(0xFF0000));
  }
}

TEST_F(DryerPictureTest, BatchDryingShowsAveragesAndBatchCount) {
  state.Set(sm::kBatchSelector, 1);
  state.SetBe16(sm::kAverageIncomingMoisture, 221);
  state.SetBe16(sm::kAverageOutgoingMoisture, 150);
  state.SetBe16(sm::kBatchCounter, 37);
  Paint();
  for (const char* label : {"Ave In:", "Ave Out:"}) {
    ASSERT_NE(canvas.FindText(label), nullptr) << canvas.Describe();
    EXPECT_EQ(canvas.FindText(label)->colour, Bgr(0x960000));
  }
  EXPECT_EQ(canvas.FindText("22.1%")->colour, Bgr(0x00FA00));
  EXPECT_EQ(canvas.FindText("15.0%")->colour, Bgr(0x00FA00));
  EXPECT_EQ(canvas.FindText("37")->colour, Bgr(0xFFFFFF));
  EXPECT_EQ(canvas.FindTextContaining("RPM"), nullptr);
  EXPECT_EQ(Text("MC: NONE"), "MC: NONE");
  EXPECT_EQ(Text("TIME:TEMP"), "TIME:TEMP");
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
    state.Set(sm::kMeteringMode, c.mode);
    state.Set(sm::kMeteringSpeedShown, c.selection);
    state.Set(220, c.step);
    state.Set(sm::kMeteringControl201, c.control);
    state.Set(223, c.tenths);
    const MeteringLabels labels = MeteringLabelsOf(state);
    EXPECT_EQ(labels.scheme, c.scheme) << "mode " << int{c.mode};
    EXPECT_EQ(labels.type, c.type) << "mode " << int{c.mode};
    EXPECT_EQ(labels.speed, c.speed) << "mode " << int{c.mode};
  }
  // And the overlay draws them in their colours.
  state.Set(sm::kMeteringMode, 2);
  state.Set(sm::kMeteringSpeedShown, 2);
  Paint();
  EXPECT_EQ(canvas.FindText("3 SPEED")->colour, Bgr(0x00C800));
  EXPECT_EQ(canvas.FindText("NONE")->colour, Bgr(0x0000FF));
  EXPECT_EQ(canvas.FindText("HI 64")->colour, Bgr(0x0000FF));
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
    state.Set(sm::kModuleCountCode, modules);
    state.Set(sm::kGrainTempSelector, 2);
    Paint();
    for (const char* text : {"120\xB0"
                             "F",
                             "105\xB0"
                             "F",
                             "140\xB0"
                             "F",
                             "90\xB0"
                             "F",
                             "100\xB0"
                             "F",
                             "20.1%", "BPH 800"})
      EXPECT_NE(canvas.FindText(text), nullptr) << text << "\n" << canvas.Describe();
    EXPECT_EQ(canvas
                  .FindText("120\xB0"
                            "F")
                  ->colour,
              Bgr(0x00FFFF));
    state.Set(sm::kGrainTempSelector, 3);  // names no sensor
    Paint();
    EXPECT_NE(canvas.FindText("---"), nullptr);
    EXPECT_EQ(canvas.FindText("120\xB0"
                              "F"),
              nullptr);
  }
  state.Set(sm::kModuleCountCode, 0);
  state.Set(sm::kHardwareOptions, 0x20);
  state.Set(sm::kGrainTempSelector, 1);
  si = true;
  Paint();
  EXPECT_NE(canvas.FindText("43\xB0"
                            "C"),
            nullptr)
      << canvas.Describe();  // 110 F
  EXPECT_NE(canvas.FindText("MTH 20"), nullptr) << canvas.Describe();
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
