-- ardour7-lua ardour_session.lua DIR: Ardour, headless on its dummy backend,
-- puts the LV2 bundle on a MIDI track as its instrument, plays a note to it,
-- moves CUTOFF, saves the session in DIR, loads it again and finds the
-- plug-in with CUTOFF where it was left. Any failure ends in an error.
local uri = "https://orvane.example/plugins/ambrell"
local cutoff = 16 -- the parameter's index, and its port's
local dir = assert(arg[1], "usage: ardour7-lua ardour_session.lua DIR")

assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no dummy backend")
AudioEngine:set_sample_rate(48000)
AudioEngine:set_buffer_size(256)
assert(AudioEngine:start(false) == 0, "the engine did not start")

local session = assert(create_session(dir, "orv", 48000), "no new session")
-- A track made while the new session still sets itself up can find its
-- port names taken: give it a moment.
ARDOUR.LuaAPI.usleep(500000)
local tracks = session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1),
  ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2), true, ARDOUR.PluginInfo(), nil, nil, 1, "Ambrell",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
local track = tracks:front()
local plugin = ARDOUR.LuaAPI.new_plugin(session, uri, ARDOUR.PluginType.LV2, "")
assert(not plugin:isnil(), "Ardour does not find the plug-in")
assert(track:add_processor_by_index(plugin, 0, nil, true) == 0, "the plug-in did not go on the track")

-- A note straight into the track's input, as a keyboard plays it.
local midi = track:to_track():to_midi_track()
local parser = ARDOUR.RawMidiParser()
local function send(bytes)
  for _, b in ipairs(bytes) do
    if parser:process_byte(b) then
      midi:write_immediate_event(Evoral.EventType.MIDI_EVENT, parser:buffer_size(), parser:midi_buffer())
    end
  end
end
local meter = track:peak_meter()
ARDOUR.LuaAPI.usleep(200000)
local before = meter:meter_level(0, ARDOUR.MeterType.MeterPeak)
send({0x90, 45, 100})
ARDOUR.LuaAPI.usleep(500000)
local held = meter:meter_level(0, ARDOUR.MeterType.MeterPeak)
send({0x80, 45, 0})
assert(before < 0.001, "silence before the note: " .. before)
assert(held > 0.05, "the held note sounds: " .. held)

ARDOUR.LuaAPI.set_processor_param(plugin, cutoff, 0.25)
assert(session:save_state("", false, false, false, false, false) == 0, "the session did not save")
-- The session's objects are let go before it closes.
tracks, track, plugin, midi, meter, session = nil, nil, nil, nil, nil, nil
collectgarbage()
close_session()

local again = assert(load_session(dir, "orv"), "the session did not load again")
local reloaded = again:route_by_name("Ambrell"):nth_plugin(0)
assert(not reloaded:isnil(), "the plug-in is gone after loading")
local value = ARDOUR.LuaAPI.get_processor_param(reloaded, cutoff, true)
assert(math.abs(value - 0.25) < 1e-6, "CUTOFF after loading: " .. value)
reloaded, again = nil, nil
collectgarbage()
close_session()
print("ardour session: ok")
