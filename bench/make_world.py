#!/usr/bin/python3
"""Writes a stand-in scenario whose "world" holds an account of a given size.

    make_world.py local DEVICES OUT.json
    make_world.py remote COMPUTERS DEVICES_EACH OUT.json

The account is logged in and the service connected, so the gate of every
command passes with one call. Devices come in a fixed mix (free, connected in
the three ways, offline, described, locked on the local computer, with
invites), the same for every size, so that the time per device is comparable
from one size to the next. No "answers": the world answers everything.
"""

import json
import sys

LOCAL_ID = "1000"


def connect_info(n):
    info = {"id_connection": "conn-%06d" % n, "id_comp_client": "%d" % (3000 + n % 50),
            "compress": ("zlib", "lz4", "no")[n % 3], "reconnect": True}
    kind = n % 3
    if kind == 1:
        info["id_redirector"] = "relay-%d" % (n % 7)
    elif kind == 2:
        info["is_udp"] = True
    return info


def invites(n):
    count = 2 if n % 26 == 0 else (1 if n % 13 == 0 else 0)
    return [{"id_invite": "inv-%06d-%d" % (n, k), "email": "friend%d@example.com" % (n % 97),
             "status": ("created", "accepted")[k % 2]} for k in range(count)]


def device(computer_id, n, local):
    item = {"id": "USB\\VID_%04X&PID_%04X\\%s-%06d" % (0x0403 + n % 5, 0x6001 + n % 11,
                                                       computer_id, n),
            "name": "Device %d of computer %s" % (n, computer_id)}
    kind = n % 10
    if kind in (6, 7):
        item["status"] = "shared"
        item["connect_info"] = connect_info(n)
    elif kind == 8:
        item["status"] = "offline"
    else:
        item["status"] = "free"
    if kind == 9 or n % 4 == 1:
        item["description"] = "bench rig %d, port %d" % (n // 8, n % 8)
    if local and n % 17 == 3:
        item["locked"] = True
    if n % 5 == 2:
        item["comport_name"] = "COM%d" % (3 + n % 20)
    found = invites(n)
    if found:
        item["invites"] = found
    return item


def computer(computer_id, name, device_count, local, offline=False):
    result = {"id_comp": computer_id, "comp_name": name,
              "devices": [device(computer_id, n, local) for n in range(device_count)]}
    if not local:
        result["status"] = "offline" if offline else "online"
    return result


def world(local_devices, remote_computers, remote_devices):
    return {
        "account": {"email": "bench@example.com", "logged_in": True},
        "service": {"pipe": "connected"},
        "local": computer(LOCAL_ID, "bench-local", local_devices, True),
        "remote": [computer("%d" % (2000 + c), "bench-remote-%d" % c, remote_devices, False,
                            offline=c % 7 == 6)
                   for c in range(remote_computers)],
    }


def first_device_id(scenario):
    return scenario["world"]["local"]["devices"][0]["id"]


def write(scenario, path):
    with open(path, "w") as out:
        json.dump(scenario, out, separators=(",", ":"))


def main(argv):
    if len(argv) == 4 and argv[1] == "local":
        scenario = {"world": world(int(argv[2]), 0, 0)}
    elif len(argv) == 5 and argv[1] == "remote":
        scenario = {"world": world(1, int(argv[2]), int(argv[3]))}
    else:
        sys.stderr.write(__doc__)
        return 2
    write(scenario, argv[-1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
