#include "cmdline/command_line_base.h"

// Registration order is listing order: the banner, help --all and the
// reference document follow it.
const CommandHelpRow g_commandHelpTable[] = {
    {"help", "", "Display help information", "help [COMMAND | --all | --id-device]",
     "If a command is given, display help information on that command; otherwise,\n"
     "list all available commands.\n"
     "<LF>Instead of the command name, one of these options can be used:\n"
     "<LF>``--all``\n"
     "      show help on all commands;\n"
     "``--id-device``\n"
     "      show help on the ID_DEVICE parameter accepted by some commands."},
    {"status", "st", "Show the computer status", "status",
     "Show whether the current computer is logged in or requires a login,\n"
     "whether its drivers are okay, or whether there are problems connecting\n"
     "to the Wirenest service."},
    {"login", "", "Log in the computer to an account", "login EMAIL",
     "Log in with the specified email (the password will be prompted)."},
    {"show-local", "shl", "Show the local computer",
     "show-local [--no-devices] [--verbose] [--no-invites]",
     "Get information about the local computer and attached devices.\n"
     "<LF>Options:\n"
     "<LF>``--no-devices``\n"
     "      disable output for the devices;\n"
     "``--verbose``\n"
     "      enable verbose output for devices info;\n"
     "``--no-invites``\n"
     "      disable output for the connection invites."},
    {"show-remote", "shr", "Show the remote computers of the current account",
     "show-remote [--online] [--offline] [--no-devices] [--verbose] [--no-invites]",
     "Get information about the remote computers of the current account and their\n"
     "devices. (By default, both online and offline computers are shown.)\n"
     "<LF>Options:\n"
     "<LF>``--online``\n"
     "      show only the computers that are online;\n"
     "``--offline``\n"
     "      show only the computers that are offline;\n"
     "``--no-devices``\n"
     "      disable output for the devices on the listed computers;\n"
     "``--verbose``\n"
     "      enable verbose output for devices info;\n"
     "``--no-invites``\n"
     "      disable output for the connection invites."},
    {"show-invite", "shi", "Show the connection invites from other accounts",
     "show-invite [--online] [--offline] [--no-devices] [--verbose]",
     "Show information about the computers and devices in other accounts\n"
     "available to the current account via connection invites.\n"
     "<LF>By default, all available invites are shown, both online and offline\n"
     "computers and/or devices.\n"
     "<LF>Options:\n"
     "<LF>``--online``\n"
     "      show only the computers and devices that are online;\n"
     "``--offline``\n"
     "      show only the computers and devices that are offline;\n"
     "``--no-devices``\n"
     "      disable output for the devices on the listed computers;\n"
     "``--verbose``\n"
     "      enable verbose output for devices info."},
    {"set-comp-name", "scn", "Rename a computer", "set-comp-name ID_COMP NAME",
     "Assign the specified name to the computer with a given ID.\n"
     "<LF>The value of ``ID_COMP`` can be retrieved by running ``show-local`` or ``show-remote``;\n"
     "for the local computer, the value of \"local\" is also accepted as ID.\n"
     "<LF>``NAME`` should be double-quoted if it contains spaces."},
    {"logout", "", "Log out a computer from the account", "logout ID_COMP",
     "Log out the specified computer (local or remote) from the account.\n"
     "<LF>The value of ``ID_COMP`` can be retrieved by running ``show-local`` or ``show-remote``;\n"
     "for the local computer, the value of \"local\" is also accepted as ID."},
    {"connect-device", "cond", "Connect a remote device",
     "connect-device ID_DEVICE [--compression=VALUE] [--auto-reconnect|--no-auto-reconnect]",
     "Connect to a remote device, either hosted on a remote computer\n"
     "in the current account, or available to the current account\n"
     "via an accepted connection invite.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-remote`` or\n"
     "``show-invite``.\n"
     "<LF>The ``--compression`` option takes the following values:\n"
     "    ``bestspeed``, ``bestsize``, ``no``\n"
     "<LF>If ``--compression`` is omitted, the default value is used\n"
     "(see ``default-connect-parameters``)."},
    {"disconnect-device", "disd", "Disconnect a device", "disconnect-device ID_DEVICE",
     "Disconnect a connected device (local or remote).\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``\n"
     "for local devices and ``show-remote`` or ``show-invite`` for remote devices."},
    {"default-connect-parameters", "dcp", "Show or set the default connection parameters",
     "default-connect-parameters [--compression=VALUE] [--auto-reconnect|--no-auto-reconnect]",
     "Without options, show the current connection parameters.\n"
     "Otherwise, set the parameters specified.\n"
     "<LF>The ``--compression`` option takes the following values:\n"
     "    ``bestspeed``, ``bestsize``, ``no``"},
    {"set-device-description", "sdd", "Set a description for a local device",
     "set-device-description ID_DEVICE DESCRIPTION",
     "Set a user-defined description for the local device with a given ID.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``.\n"
     "<LF>``DESCRIPTION`` should be double-quoted if it contains spaces."},
    {"clear-device-description", "cdd", "Clear the description for a local device",
     "clear-device-description ID_DEVICE",
     "Clear the user-defined description for the local device with a given ID.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``."},
    {"lock-device", "ld", "Lock a local device", "lock-device ID_DEVICE",
     "Lock the local device with a given ID.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``."},
    {"unlock-device", "ud", "Unlock a local device", "unlock-device ID_DEVICE",
     "Unlock the local device with a given ID.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``."},
    {"set-comport-name", "spn", "Set a name for a remote serial port",
     "set-comport-name ID_DEVICE NAME",
     "Set a custom name for the remote serial port with a given ID.\n"
     "<LF>This name will be assigned to a local virtual serial port created after\n"
     "connecting to a remote device. If no custom name is set, the original name\n"
     "of the remote serial port is used.\n"
     "<LF>``ID_DEVICE`` can be retrieved by running ``show-remote`` or ``show-invite``.\n"
     "<LF>``NAME`` is a string of the form ``COMn`` (``COM1``, ``COM23``, etc.)"},
    {"clear-comport-name", "cpn", "Clear the name for a remote serial port",
     "clear-comport-name ID_DEVICE",
     "Clear the custom name for the remote serial port with a given ID.\n"
     "<LF>``ID_DEVICE`` can be retrieved by running ``show-remote`` or ``show-invite``."},
    {"get-proxy-settings", "gpx", "Get the current proxy settings", "get-proxy-settings", ""},
    {"set-proxy-settings", "spx", "Set the new proxy settings",
     "set-proxy-settings [--enable|--disable] [--host=HOST] [--port=PORT] [--type=TYPE] "
     "[--auth|--no-auth] [--user=USER] [--passwd=PASSWORD]",
     ""},
    {"change-existing-connection-params", "ccp", "Change the existing connection parameters",
     "change-existing-connection-params ID_DEVICE --compression=VALUE",
     "Change the connection parameters for an established connection.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-remote``,\n"
     "``show-invite`` or ``show-local``.\n"
     "<LF>The ``--compression`` option takes the following values:\n"
     "    ``bestspeed``, ``bestsize``, ``no``"},
    {"forget-connection", "fc", "Forget a connection", "forget-connection ID_DEVICE",
     "Forget about an offline device and no longer try to reconnect to it.\n"
     "<LF>``ID_DEVICE`` can be retrieved by running ``show-remote`` or ``show-invite``."},
    {"send-invite", "sendi", "Send a connection invite", "send-invite ID_DEVICE EMAIL",
     "Allow the computers of the account associated with ``EMAIL`` to connect to\n"
     "the specified device.\n"
     "<LF>The value of ``ID_DEVICE`` can be retrieved by running ``show-local``\n"
     "or ``show-remote``."},
    {"accept-invite", "acci", "Accept a connection invite", "accept-invite ID_INVITE",
     "Accept an invite from another account.\n"
     "<LF>The value of ``ID_INVITE`` can be retrieved by running ``show-invite``."},
    {"delete-invite", "deli", "Delete a connection invite", "delete-invite ID_INIVTE",
     "Delete a connection invite, accepted or not.\n"
     "<LF>The value of ``ID_INVITE`` can be retrieved by running ``show-invite``,\n"
     "``show-local`` or ``show-remote``."},
    {"whoami", "", "Show the current account ID", "whoami", ""},
    {"version", "", "Show the version of the ZirOdo library", "version", ""},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};
