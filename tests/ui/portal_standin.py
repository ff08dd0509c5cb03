#!/usr/bin/python3
"""A stand-in for the desktop portal's GlobalShortcuts interface on a private
session bus, for the console's tests. Appends what it is asked to RECORD, one
line each; a test interface lets the test pick the trigger it answers with (or
"cancel" for a binding the user turned down) and press the bound shortcut.

Usage: portal_standin.py RECORD
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Session(dbus.service.Object):
    def __init__(self, portal, path):
        super().__init__(portal.bus, path)
        self.portal = portal
        self.path = path

    @dbus.service.method("org.freedesktop.portal.Session")
    def Close(self):
        self.portal.note("Close", self.path.rsplit("/", 1)[1])
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, record):
        super().__init__(bus, PATH)
        self.bus = bus
        self.record = record
        self.sessions = []
        self.answer = None  # None: the preferred trigger as it came

    def note(self, *words):
        with open(self.record, "a", encoding="utf-8") as out:
            out.write(" ".join(str(w) for w in words) + "\n")

    def respond(self, sender, token, results, response=0):
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)

        def send():
            request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False

        # After the method's own reply, as the real portal answers.
        GLib.idle_add(send)
        return dbus.ObjectPath(path)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == SHORTCUTS and name == "version":
            return dbus.UInt32(1)
        raise dbus.exceptions.DBusException(
            "no such property", name="org.freedesktop.DBus.Error.InvalidArgs")

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o",
                         sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"),
                                         options["session_handle_token"])
        Session(self, session)
        self.sessions.append(session)
        self.note("CreateSession", options["session_handle_token"])
        return self.respond(sender, options["handle_token"],
                            {"session_handle": dbus.String(session)})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
        bound = []
        for shortcut_id, info in shortcuts:
            preferred = str(info.get("preferred_trigger", ""))
            self.note("BindShortcuts", session.rsplit("/", 1)[1], shortcut_id,
                      "[%s]" % preferred, "[%s]" % info.get("description", ""))
            trigger = preferred if self.answer is None else self.answer
            bound.append(dbus.Struct(
                (shortcut_id, dbus.Dictionary({"description": info.get("description", ""),
                                               "trigger_description": trigger},
                                              signature="sv")),
                signature="sa{sv}"))
        if self.answer == "cancel":  # the user closed the desktop's dialog
            return self.respond(sender, options["handle_token"], {}, response=1)
        return self.respond(sender, options["handle_token"],
                            {"shortcuts": dbus.Array(bound, signature="(sa{sv})")})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="oa(sa{sv})")
    def ShortcutsChanged(self, session, shortcuts):
        pass

    @dbus.service.method("org.zorlo.Test", in_signature="s")
    def Change(self, trigger):
        """The user gives the latest session's shortcut another key."""
        self.ShortcutsChanged(
            dbus.ObjectPath(self.sessions[-1]),
            dbus.Array([dbus.Struct(("toggle", dbus.Dictionary(
                {"trigger_description": trigger}, signature="sv")), signature="sa{sv}")],
                signature="(sa{sv})"))

    @dbus.service.method("org.zorlo.Test", in_signature="s")
    def Answer(self, trigger):
        self.answer = str(trigger)

    @dbus.service.method("org.zorlo.Test", in_signature="i")
    def Press(self, session):
        """Presses the shortcut of the session numbered session (0 the first
        one created), or of the latest one for -1."""
        self.Activated(dbus.ObjectPath(self.sessions[session]), "toggle", dbus.UInt64(0),
                       dbus.Dictionary({}, signature="sv"))


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus, sys.argv[1])
    # Owned only once the object is there: the test waits for the name. The
    # name is given up when its object goes, so it is kept to the end.
    name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
    GLib.MainLoop().run()
    del name, portal


if __name__ == "__main__":
    main()
