// A CLAP parameter value event for one parameter of the whole instrument
// (no note, port, channel or key): what the plug-in reports and what
// orv-host sends.
#pragma once

#include "clap/events.h"

inline clap_event_param_value_t clapParamValue(clap_id id, double value, uint32_t time = 0) {
    clap_event_param_value_t e{};
    e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    e.param_id = id;
    e.note_id = -1;
    e.port_index = e.channel = e.key = -1;
    e.value = value;
    return e;
}
