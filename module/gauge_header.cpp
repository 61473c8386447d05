// Gauge "TIY": its header and the seven routines, each handing the host's
// gauge-level call back to the matching element-list service with the root.
#include "module/exports.h"

#include "face/face.h"

static ELEMENT_HEADER* ElementList[] = {&FaceBackground.header, nullptr};

// Reached through Linkage, as the host reaches it.
static ELEMENT_HEADER* RootElement()
{
    return Linkage.gauges[0]->element_list[0];
}

// Called before the host stored its table, a routine does nothing.
#define FORWARD(service, ...)                                   \
    do {                                                        \
        HostPanelService* services = PanelServices();           \
        if (services && services->service)                      \
            services->service(RootElement() __VA_OPT__(, ) __VA_ARGS__); \
    } while (0)

static void GAUGE_CALL GaugeQuery(void) { FORWARD(query); }
static void GAUGE_CALL GaugeInstall(void* resource) { FORWARD(install, resource); }
static void GAUGE_CALL GaugeInitialize(void) { FORWARD(initialize); }
static void GAUGE_CALL GaugeUpdate(void) { FORWARD(update); }
static void GAUGE_CALL GaugeGenerate(uint32_t phase) { FORWARD(generate, phase); }
static void GAUGE_CALL GaugeDraw(void) { FORWARD(draw); }
static void GAUGE_CALL GaugeKill(void) { FORWARD(kill); }

constinit GAUGEHDR GaugeHeader = {
    .header_version = GAUGE_HEADER_VERSION,
    .gauge_name = "TIY",
    .element_list = ElementList,
    .query = GaugeQuery,
    .install = GaugeInstall,
    .initialize = GaugeInitialize,
    .update = GaugeUpdate,
    .generate = GaugeGenerate,
    .draw = GaugeDraw,
    .kill = GaugeKill,
    .default_width = 100,
    .default_height = 0,
    .mouse_areas = GaugeMouseAreas,
    .gauge_callback = nullptr,
    .user_data = nullptr,
    .parameters = nullptr,
    .usage = nullptr,
};
