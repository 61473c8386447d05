// The records a host reads, field by field.
#include "tests/gauge/gauge_fixture.h"

#include <string>

TEST(Records, ExportsAndLinkage)
{
    EXPECT_EQ(ImportTable.panels.identifier, 0x0000000Fu);
    EXPECT_EQ(ImportTable.end.identifier, 0u);
    EXPECT_EQ(ImportTable.end.address, nullptr);
    EXPECT_EQ(Linkage.module_identifier, 0x13u);
    EXPECT_EQ(Linkage.module_init, ModuleInit);
    EXPECT_EQ(Linkage.module_deinit, ModuleDeinit);
    EXPECT_EQ(Linkage.module_flags, 0u);
    EXPECT_EQ(Linkage.module_priority, 0u);
    EXPECT_EQ(Linkage.module_version, 0x0900u);
    EXPECT_EQ(Linkage.gauges[0], &GaugeHeader);
    EXPECT_EQ(Linkage.gauges[1], nullptr);
}

TEST(Records, GaugeHeader)
{
    EXPECT_EQ(GaugeHeader.header_version, 800u);
    EXPECT_STREQ(GaugeHeader.gauge_name, "TIY");
    ASSERT_NE(GaugeHeader.element_list, nullptr);
    EXPECT_EQ(GaugeHeader.element_list[0], &FaceBackground.header);
    EXPECT_EQ(GaugeHeader.element_list[1], nullptr);
    for (auto routine : {(void*)GaugeHeader.query, (void*)GaugeHeader.install,
                         (void*)GaugeHeader.initialize, (void*)GaugeHeader.update,
                         (void*)GaugeHeader.generate, (void*)GaugeHeader.draw,
                         (void*)GaugeHeader.kill})
        EXPECT_NE(routine, nullptr);
    EXPECT_EQ(GaugeHeader.default_width, 100u);
    EXPECT_EQ(GaugeHeader.default_height, 0u);
    EXPECT_EQ(GaugeHeader.mouse_areas, &GaugeMouseAreas[0]);
    EXPECT_EQ(GaugeHeader.gauge_callback, nullptr);
    EXPECT_EQ(GaugeHeader.user_data, nullptr);
    EXPECT_EQ(GaugeHeader.parameters, nullptr);
    EXPECT_EQ(GaugeHeader.usage, nullptr);
}

TEST(Records, ElementChain)
{
    struct Row {
        const char* name;
        ELEMENT_HEADER* element;
        uint32_t kind;
        int32_t bitmap;
        PIXPOINT position, offset;
        uint32_t image_flags;
    } rows[] = {
        {"FaceBackground", &FaceBackground.header, ELEMENT_TYPE_STATIC_IMAGE, 4357, {0, 0}, {0, 0}, 1},
        {"RightReadout", &RightReadout.header, ELEMENT_TYPE_STRING, -1, {473, 62}, {0, 0}, 7},
        {"LeftReadout", &LeftReadout.header, ELEMENT_TYPE_STRING, -1, {47, 62}, {0, 0}, 7},
        {"YawKnob", &YawKnob.header, ELEMENT_TYPE_NEEDLE, 4358, {300, 300}, {200, 200}, 7},
    };
    ELEMENT_HEADER* element = GaugeHeader.element_list[0];
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        ASSERT_EQ(element, row.element) << "element " << i << " of the chain should be " << row.name;
        EXPECT_EQ(element->kind, row.kind) << row.name;
        EXPECT_EQ(element->bitmap, row.bitmap) << row.name;
        EXPECT_EQ(element->position.x, row.position.x) << row.name;
        EXPECT_EQ(element->position.y, row.position.y) << row.name;
        EXPECT_EQ(element->previous_position.x, 0) << row.name;
        EXPECT_EQ(element->previous_position.y, 0) << row.name;
        EXPECT_EQ(element->offset.x, row.offset.x) << row.name;
        EXPECT_EQ(element->offset.y, row.offset.y) << row.name;
        EXPECT_EQ(element->gauge, &GaugeHeader) << row.name;
        EXPECT_EQ(element->previous, nullptr) << row.name;
        EXPECT_EQ(element->failures, nullptr) << row.name;
        EXPECT_EQ(element->image_flags, row.image_flags) << row.name;
        EXPECT_EQ(element->special_flags, 0u) << row.name;
        EXPECT_EQ(element->reserved, 0u) << row.name;
        if (i + 1 == std::size(rows)) {
            EXPECT_EQ(element->next, nullptr) << "the chain ends at the knob";
            break;
        }
        ASSERT_NE(element->next, nullptr) << row.name;
        EXPECT_EQ(element->next[1], nullptr) << row.name << "'s next list holds one element";
        element = element->next[0];
    }
}

TEST(Records, Readouts)
{
    struct Row {
        ELEMENT_STRING* readout;
        StringCallback callback;
    } rows[] = {{&RightReadout, RightReadoutCallback}, {&LeftReadout, LeftReadoutCallback}};
    for (const Row& row : rows) {
        const ELEMENT_STRING& r = *row.readout;
        EXPECT_EQ(r.source_variables[0], 786u);
        EXPECT_EQ(r.source_variables[1], 558u);
        EXPECT_EQ(r.source_variables[MonitoredSource], MonitoredVariable);
        EXPECT_EQ(r.source_variables[2], 421u);
        EXPECT_EQ(r.callback, row.callback);
        EXPECT_EQ(r.box_width, 85);
        EXPECT_EQ(r.box_height, 36);
        EXPECT_EQ(r.max_chars, 3u);
        EXPECT_EQ(r.text_colour, 0x00141414u);
        EXPECT_EQ(r.background_colour, 0x00000000u);
        EXPECT_EQ(r.highlight_colour, 0x005C5C5Cu);
        EXPECT_STREQ(r.font_face, "Quartz");
        EXPECT_EQ(r.font_weight, 700);
        EXPECT_EQ(r.charset, 1u);
        EXPECT_EQ(r.format_flags, 0x25u);
        EXPECT_EQ(r.highlights, nullptr);
    }
}

TEST(Records, Knob)
{
    EXPECT_EQ(YawKnob.source_variable, VARIABLE_NONE);
    EXPECT_EQ(YawKnob.callback, KnobValueCallback);
    EXPECT_EQ(YawKnob.angle_table, nullptr);
    EXPECT_EQ(YawKnob.angle_count, 0u);
    EXPECT_EQ(YawKnob.turn_rate_limit, 0u);
}

TEST(Records, MouseAreas)
{
    struct Row {
        uint32_t type;
        int32_t x, y, width, height, cursor;
        uint32_t flags;
        MouseFunction function;
    } rows[] = {
        {MOUSE_PARENT, 0, 0, 0, 0, -1, 0, nullptr},
        {MOUSE_USER, 0, 0, 0, 0, -1, 0, nullptr},  // function field holds the tooltip
        {MOUSE_CHILD, 0, 0, 299, 599, 2, 0x20200000, YawDecrease},
        {MOUSE_CHILD, 300, 0, 299, 599, 1, 0x20200000, YawIncrease},
        {MOUSE_PARENT_END, 0, 0, 0, 0, -1, 0, nullptr},
        {MOUSE_END, 0, 0, 0, 0, -1, 0, nullptr},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const MOUSERECT& area = GaugeMouseAreas[i];
        const Row& row = rows[i];
        SCOPED_TRACE("mouse area " + std::to_string(i + 1));
        EXPECT_EQ(area.type, row.type);
        EXPECT_EQ(area.x, row.x);
        EXPECT_EQ(area.y, row.y);
        EXPECT_EQ(area.width, row.width);
        EXPECT_EQ(area.height, row.height);
        EXPECT_EQ(area.cursor, row.cursor);
        EXPECT_EQ(area.help_id, 0u);
        EXPECT_EQ(area.flags, row.flags);
        EXPECT_EQ(area.event_id, 0u);
        if (row.type != MOUSE_USER) {
            EXPECT_EQ(area.action.function, row.function);
        }
        EXPECT_EQ(area.extra, nullptr);
    }
    std::string tooltip = GaugeMouseAreas[1].action.tooltip;
    EXPECT_EQ(tooltip.rfind("Torque Induced Yaw, ", 0), 0u) << tooltip;
    EXPECT_GT(tooltip.size(), strlen("Torque Induced Yaw, ")) << "a line follows the name";
}

TEST_F(GaugeTest, MouseFunctionsIgnorePointAndFlags)
{
    PIXPOINT point{150, 300};
    for (uint32_t flags : {0u, uint32_t(MOUSE_LEFT_SINGLE), uint32_t(MOUSE_RIGHT_SINGLE), 0xFFFFFFFFu}) {
        YawAmount = 0;
        EXPECT_EQ(GaugeMouseAreas[2].action.function(&point, flags), 1);
        EXPECT_EQ(YawAmount, -100);
        EXPECT_EQ(GaugeMouseAreas[3].action.function(nullptr, flags), 1);
        EXPECT_EQ(YawAmount, 0);
    }
}

// The overview's road of one event, through the records as a host walks them.
TEST_F(GaugeTest, RoadOfOneEvent)
{
    for (int i = 0; i < 30; ++i)
        GaugeMouseAreas[3].action.function(nullptr, MOUSE_LEFT_SINGLE);
    Update(0.40);
    SentEvents.clear();

    ELEMENT_HEADER* right = FaceBackground.header.next[0];
    auto* readout = reinterpret_cast<ELEMENT_STRING*>(right);
    readout->source_values[1] = 0.45;
    EXPECT_EQ(readout->callback(readout), 0.0);
    EXPECT_EQ(SentEvents, (std::vector<KeyEvent>{{0x000100E4, -3000}}));
    EXPECT_EQ(LastMonitoredValue, 0.45);
    EXPECT_STREQ(readout->text, " 18");
}
