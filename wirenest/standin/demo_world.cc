#include "wirenest/standin/demo_world.h"

#include "wirenest/standin/json_text.h"
#include "wirenest/standin/world_json.h"

namespace standin {

const char* DemoWorldJson() {
  return R"json({
  "version": "2.6.0-standin",
  "account": {"email": "user@example.com", "password": "secret", "logged_in": true},
  "service": {"pipe": "connected", "usb_driver": "OK", "serial_driver": "OK"},
  "local": {
    "id_comp": "41", "comp_name": "office-pc",
    "devices": [
      {"id": "usb-1-3", "name": "USB-PS/2 Optical Mouse", "status": "free",
       "description": "Spare mouse from the meeting room"},
      {"id": "usb-1-4", "name": "SanDisk Cruzer Blade", "status": "free", "locked": true},
      {"id": "usb-2-1", "name": "FTDI FT232R USB UART", "status": "shared",
       "connect_info": {"id_connection": "conn-1001", "id_comp_client": "42",
                        "id_redirector": "redirector-eu-2", "compress": "zlib"}},
      {"id": "com-5", "name": "USB to Serial", "status": "free",
       "invites": [{"id_invite": "inv-301", "email": "colleague@example.org",
                    "status": "created"}]},
      {"id": "usb-3-2", "name": "Logitech HD Webcam C270", "status": "free"}
    ]
  },
  "remote": [
    {"id_comp": "42", "comp_name": "lab-pc", "status": "online",
     "devices": [
       {"id": "usb-1-1", "name": "Arduino Uno", "status": "shared",
        "connect_info": {"id_connection": "conn-1002", "id_comp_client": "41",
                         "is_udp": true, "compress": "lz4"}},
       {"id": "usb-4-1", "name": "YubiKey 5 NFC", "status": "shared",
        "connect_info": {"id_connection": "conn-1003", "id_comp_client": "41",
                         "compress": "no"}},
       {"id": "usb-1-2", "name": "Wacom Intuos Pen Tablet", "status": "offline"},
       {"id": "com-1", "name": "Communications Port (COM1)", "status": "free"}
     ]},
    {"id_comp": "43", "comp_name": "home-laptop", "status": "offline",
     "devices": [
       {"id": "usb-2-2", "name": "Canon PIXMA MG3650", "status": "offline",
        "connect_info": {"id_connection": "conn-1004", "id_comp_client": "41",
                         "compress": "zlib", "reconnect": true}},
       {"id": "com-3", "name": "Prolific USB-to-Serial Comm Port", "status": "offline",
        "comport_name": "COM7",
        "connect_info": {"id_connection": "conn-1005", "id_comp_client": "41",
                         "compress": "no", "reconnect": true}}
     ]}
  ],
  "other": [
    {"id_comp": "77", "comp_name": "design-studio", "email": "colleague@example.org",
     "status": "online",
     "devices": [
       {"id": "usb-1-5", "name": "Epson Perfection V39 Scanner", "status": "free",
        "invites": [{"id_invite": "inv-501", "status": "created"}]},
       {"id": "usb-1-6", "name": "HP LaserJet Pro M404", "status": "shared",
        "description": "Second floor printer",
        "connect_info": {"id_connection": "conn-1006", "id_comp_client": "41",
                         "id_redirector": "redirector-eu-2", "compress": "lz4"},
        "invites": [{"id_invite": "inv-502", "status": "accepted"}]}
     ]},
    {"id_comp": "78", "comp_name": "workshop-pi", "email": "maker@example.net",
     "status": "offline",
     "devices": [
       {"id": "com-2", "name": "CH340 Serial Adapter", "status": "offline",
        "invites": [{"id_invite": "inv-601", "status": "accepted"}]}
     ]}
  ],
  "default_params": {"compress": "bestspeed", "reconnect": "true"},
  "proxy": {
    "proxy_auth": {"enabled": false, "proxy_passwd": "", "proxy_user": ""},
    "proxy_settings": {"enabled": false, "proxy_host": "proxy.example.com",
                       "proxy_port": "3128", "proxy_type": "http"}
  }
})json";
}

World DemoWorld() {
  Json::Value json;
  World world;
  std::string error;
  if (ParseJson(DemoWorldJson(), &json, &error))
    WorldFromJson(json, "world", &world, &error);
  return world;
}

}  // namespace standin
