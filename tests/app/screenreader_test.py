#!/usr/bin/python3
"""What a screen reader reads of the real program: Kivrel on the X server, its windows read
over the AT-SPI bus (the tree Orca reads) while the typical run of the example entry is done
by keys alone (xdotool), window by window.

screenreader_test.py KIVREL, inside dbus-run-session on an X server (QT_QPA_PLATFORM=xcb);
it starts openbox for the windows' focus, as a desktop has it. In every window it fails
where a showing control that a user works has no name or an access mark in it, where two of
one role share a name, where Tab leaves out a control that takes the focus or goes against
the reading order (top to bottom, left to right), and where a default button is not marked
as one; message boxes must be alerts that hold their text, and a refused input must be
described by its warning. It logs every name the focus reaches, in order. A failure names
the step and what was there: the windows, the focus and the active window's tree. Exit
code 77: no X server with Qt's xcb platform (skipped)."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as missing:
    sys.exit(f"{missing}: scripts/setup.sh installs python3-pyatspi; run Debian's /usr/bin/python3")

SKIP = 77
TIMEOUT = 20  # seconds for one expected change; a busy machine needs a few

# What a user works: these roles must be named. Labels, images, panels and fillers are
# read with them but take no input.
INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_SLIDER, pyatspi.ROLE_LINK,
}
# Cells and the items of a closed drop-down list are read through their table or list.
NO_DESCENT = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_COMBO_BOX,
              pyatspi.ROLE_LIST, pyatspi.ROLE_TREE}


class Failed(Exception):
    pass


def has(acc, state):
    return acc.getState().contains(state)


def name_of(acc):
    """The name a screen reader gives: a drop-down list's is its label's, which Qt tells by a
    relation (its own name is the current item's text)."""
    if acc.getRole() == pyatspi.ROLE_COMBO_BOX:
        for relation in acc.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                return relation.getTarget(0).name
    return acc.name


def describe(acc):
    try:
        text = f"{acc.getRoleName()} \"{name_of(acc)}\""
        if acc.description:
            text += f" ({acc.description})"
        return text
    except Exception as error:  # gone meanwhile
        return f"<{error}>"


def pump():
    """Lets the bus deliver the events that have come."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


class Walk:
    def __init__(self, program, home):
        self.program = program
        self.home = home
        self.step = "start"
        self.focus_log = []
        self.focused = None
        self.failures = []
        self.checked = []
        self.wm_lapses = 0
        self.process = None
        self.log = None
        pyatspi.Registry.registerEventListener(self.on_focus, "object:state-changed:focused")

    # ---- The program and its windows ----

    def start(self):
        env = dict(os.environ)
        for var in ("MAILER", "XDG_DATA_HOME", "XDG_CONFIG_DIRS"):
            env.pop(var, None)
        # A desktop of its own: no mail client, nothing stored, Qt's own file dialog.
        env.update({
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_CURRENT_DESKTOP": "X-Generic",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_QPA_PLATFORM": "xcb",
        })
        os.makedirs(env["XDG_CONFIG_HOME"])
        os.makedirs(os.path.join(self.home, "Meldungen"))
        # A club's member list, as a spreadsheet saves it, with a letter the entry cannot hold.
        self.member_list = os.path.join(self.home, "mitglieder.csv")
        with open(self.member_list, "w", encoding="utf-8") as csv:
            csv.write("Nachname;Vorname;Geb.-Datum;Geschlecht;Gurt\n"
                      "Bäcker;Lena;2012;w;gelb\nNowak;Łukasz;2013;m;orange\n")
        self.log = open(os.path.join(self.home, "kivrel.log"), "w")
        self.process = subprocess.Popen([self.program], env=env, cwd=self.home,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.wait(self.app, "the program on the accessibility bus")

    def app(self):
        if not self.process:
            return None
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app and app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                pass
        return None

    def windows(self):
        app = self.app()
        return [app.getChildAtIndex(i) for i in range(app.childCount)] if app else []

    def active(self):
        for window in self.windows():
            if has(window, pyatspi.STATE_ACTIVE):
                return window
        return None

    def what_there_is(self):
        """The windows, the focus and the active window's tree, as the bus tells them."""
        lines = []
        try:
            windows = [describe(w) + (" (active)" if has(w, pyatspi.STATE_ACTIVE) else "")
                       for w in self.windows()]
            lines.append("  windows: " + (", ".join(windows) or "none"))
            lines.append(f"  focus: {describe(self.focused) if self.focused else 'none'}")
            if self.active():
                lines.append("  the active window:")
                self.tree(self.active(), lines, 2)
        except Exception as error:
            lines.append(f"  the bus does not answer: {error}")
        # What the X server and the window manager hold, where no window is active.
        focus = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"],
                               capture_output=True, text=True)
        active = subprocess.run(["xdotool", "getactivewindow", "getwindowname"],
                                capture_output=True, text=True)
        lines.append(f"  X focus: {focus.stdout.strip() or focus.stderr.strip()}; "
                     "active for the window manager: "
                     f"{active.stdout.strip() or active.stderr.strip()}")
        if self.process and self.process.poll() is not None:
            lines.append(f"  the program has ended with exit code {self.process.returncode}")
        return "\n".join(lines)

    def tree(self, root, lines, depth):
        for i in range(root.childCount):
            acc = root.getChildAtIndex(i)
            states = [pyatspi.stateToString(s) for s in acc.getState().getStates()
                      if s in (pyatspi.STATE_SHOWING, pyatspi.STATE_FOCUSABLE,
                               pyatspi.STATE_FOCUSED, pyatspi.STATE_ENABLED)]
            lines.append("  " * depth + f"{describe(acc)} [{', '.join(states)}]")
            if acc.getRole() not in NO_DESCENT:
                self.tree(acc, lines, depth + 1)

    def wait(self, condition, what, timeout=TIMEOUT):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            pump()
            try:
                result = condition()
            except Exception:
                result = None
            if result:
                return result
            if self.process and self.process.poll() is not None and what != "the program's end":
                break
            time.sleep(0.02)
        raise Failed(f"{what} did not come\n{self.what_there_is()}")

    def window(self, caption, holding=None):
        """The active window with that caption (and a control of that name, where two
        windows share a caption)."""
        def found():
            window = self.active()
            if window and window.name == caption and (not holding or self.find(window, holding)):
                return window
            return None
        try:
            return self.wait(found, f"the active window \"{caption}\"", timeout=3)
        except Failed:
            if not self.focus_lost():
                return self.wait(found, f"the active window \"{caption}\"")
        # openbox at times takes the focus back from a dialog that closes while its box closes
        # and gives it to no window; a click on the window would bring it back.
        print(f"   the window manager gave the focus to no window: \"{caption}\" activated",
              flush=True)
        self.wm_lapses += 1
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(caption)}$",
                        "windowactivate"], capture_output=True)
        return self.wait(found, f"the active window \"{caption}\"")

    def focus_lost(self):
        """No window of the program active, and the X focus on none of the desktop's."""
        if self.active() is not None:
            return False
        focus = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"],
                               capture_output=True, text=True)
        return focus.stdout.strip() in ("Openbox", "")

    def find(self, root, name, role=None):
        for acc in self.showing(root):
            if name_of(acc) == name and (role is None or acc.getRole() == role):
                return acc
        return None

    def showing(self, root):
        """The showing objects below root, not inside tables and lists."""
        out = []
        stack = [root.getChildAtIndex(i) for i in range(root.childCount - 1, -1, -1)]
        while stack:
            acc = stack.pop()
            if acc is None or not has(acc, pyatspi.STATE_SHOWING):
                continue
            out.append(acc)
            if acc.getRole() not in NO_DESCENT:
                stack.extend(acc.getChildAtIndex(i) for i in range(acc.childCount - 1, -1, -1))
        return out

    # ---- Focus ----

    def on_focus(self, event):
        if not event.detail1:
            return
        try:
            if event.source.get_process_id() != self.process.pid:
                return
        except Exception:
            return
        acc = event.source
        try:
            # A cell has the focus inside its table.
            if acc.getRole() in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM):
                label = f"{describe(acc.parent)}, cell {describe(acc)}"
            else:
                label = describe(acc)
        except Exception:  # gone before it could be read: a focus passing by
            return
        self.focused = acc
        self.focus_log.append(label)
        print(f"   focus: {label}", flush=True)

    def has_focus(self):
        return self.focused is not None and has(self.focused, pyatspi.STATE_FOCUSED)

    def focus_owner(self):
        """The control with the focus; a cell's table, a tab's tab bar."""
        acc = self.focused
        if acc is not None and acc.getRole() in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM,
                                                 pyatspi.ROLE_PAGE_TAB):
            return acc.parent
        return acc

    def focused_on(self, name):
        return self.wait(lambda: self.has_focus() and name_of(self.focus_owner()) == name,
                         f"the focus on \"{name}\"")

    # ---- Keys ----

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "30", *keys], check=True)

    def type(self, text, shown=None):
        """Types into the focused field and waits until it holds text (or shown: a date
        field adds its dots)."""
        field = self.focus_owner()
        subprocess.run(["xdotool", "type", "--delay", "20", "--", text], check=True)
        shown = shown or text
        self.wait(lambda: shown in field.queryText().getText(0, -1),
                  f"\"{shown}\" in {describe(field)}")

    def fill(self, first, values):
        """From the field first on, one value a field, Tab between them."""
        self.focused_on(first)
        for i, value in enumerate(values):
            if i > 0:
                before = self.focused
                self.keys("Tab")
                self.wait(lambda: self.focused is not before, "the focus moving on with Tab")
            if isinstance(value, tuple):
                self.type(*value)
            elif value:
                self.type(value)

    def page(self, window, first):
        """The wizard's next page, with the focus in its first field."""
        self.focused_on(first)
        self.check(window)

    def tab_to(self, name):
        for _ in range(30):
            if name_of(self.focus_owner()) == name:
                return
            before = self.focused
            self.keys("Tab")
            self.wait(lambda: self.focused is not before, "the focus moving on with Tab")
        raise Failed(f"Tab does not reach \"{name}\"")

    def rest_of_participant(self, jahrgang, grade_steps, gewicht):
        """From the age group on: year, grade steps down the list, weight class."""
        self.focused_on("Altersgruppe")
        self.keys("Tab")
        self.focused_on("Jahrgang")
        self.type(jahrgang)
        self.keys("Tab")
        self.focused_on("Graduierung")
        if grade_steps:
            self.keys(*["Down"] * grade_steps)
        self.keys("Tab")
        self.focused_on("Gewichtsklasse")
        self.type(gewicht)

    def file_dialog(self, path):
        """Qt's file dialog: the path typed into its name field, and Return."""
        self.wait(lambda: self.active() and self.active().getRole() == pyatspi.ROLE_DIALOG
                  and self.focus_owner().getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY),
                  "a file dialog with the focus in its name field")
        self.keys("ctrl+a")
        self.type(path)
        self.keys("Return")

    def grid_cells(self, window, name):
        """Each cell of the table as read: name, description, header and states."""
        table = self.find(window, name, pyatspi.ROLE_TABLE).queryTable()
        cells = []
        for r in range(table.nRows):
            for c in range(table.nColumns):
                cell = table.getAccessibleAt(r, c)
                states = [pyatspi.stateToString(s) for s in cell.getState().getStates()
                          if s in (pyatspi.STATE_CHECKED, pyatspi.STATE_CHECKABLE)]
                cells.append(f"{table.getColumnDescription(c)}: {cell.name} ({cell.description}) "
                             + " ".join(states))
        return cells

    def grid_rows(self, window, name):
        table = self.find(window, name, pyatspi.ROLE_TABLE).queryTable()
        return [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
                for r in range(table.nRows)]

    # ---- The checks ----

    def fail(self, text):
        self.failures.append(f"{self.step}: {text}")
        print(f"   FAILED: {text}", flush=True)

    def check(self, window):
        """Names, duplicates, default button and Tab order of the window as it shows now."""
        self.checked.append(window.name)
        controls = [acc for acc in self.showing(window) if acc.getRole() in INTERACTIVE]
        names = {}  # by name and role: the role is read with the name
        for acc in controls:
            name = name_of(acc).strip()
            if not name:
                parent = acc.parent
                self.fail(f"{acc.getRoleName()} without a name (in {describe(parent)})")
                continue
            if re.search(r"&\S", name):  # "OK & Weiter" shows its ampersand
                self.fail(f"{describe(acc)}: an access mark in the name")
            names.setdefault((name, acc.getRole()), []).append(acc)
        for (name, role), same in names.items():
            if len(same) > 1:
                self.fail(f"{len(same)} of role {same[0].getRoleName()} named \"{name}\"")
        self.check_tab_order(window, controls)

    def check_tab_order(self, window, controls):
        focusable = [acc for acc in controls
                     if has(acc, pyatspi.STATE_FOCUSABLE) and has(acc, pyatspi.STATE_ENABLED)
                     and acc.getRole() not in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PAGE_TAB)]
        start = self.focused_on_window(window)
        order = [start]
        if len(focusable) > 1:
            for _ in range(len(focusable) + 2):
                before = self.focused
                self.keys("Tab")
                self.wait(lambda: self.focused is not before and self.has_focus(),
                          "the focus moving on with Tab")
                owner = self.focus_owner()
                if owner == start:
                    break
                order.append(owner)
            else:
                self.fail("Tab never came back to " + describe(start))
        for acc in focusable:
            if acc not in order:
                self.fail(f"Tab leaves out {describe(acc)}")
        # Once round: one step back to the top, the others forward in reading order.
        places = [self.place(acc) for acc in order]
        backward = [i for i in range(len(order)) if len(order) > 1
                    and not self.before(places[i - 1], places[i])]
        if len(backward) > 1:
            self.fail("Tab goes against the reading order: "
                      + " -> ".join(f"\"{name_of(acc)}\"" for acc in order))
        default = [acc for acc in controls if has(acc, pyatspi.STATE_IS_DEFAULT)]
        print(f"   {window.name}: {len(controls)} controls named, Tab order: "
              + " -> ".join(f"\"{name_of(acc)}\"" for acc in order)
              + (f"; default button \"{default[0].name}\"" if default else ""), flush=True)

    def focused_on_window(self, window):
        def inside():
            owner = self.focus_owner()
            if owner is None or not has(self.focused, pyatspi.STATE_FOCUSED):
                return None
            acc = owner
            while acc is not None:
                if acc == window:
                    return owner
                acc = acc.parent
            return None
        return self.wait(inside, f"the focus inside \"{window.name}\"")

    @staticmethod
    def place(acc):
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (box.x, box.y, box.width, box.height)

    @staticmethod
    def before(a, b):
        """a comes before b in reading order: a row above, or the same row further left."""
        ax, ay, aw, ah = a
        bx, by, bw, bh = b
        overlap = min(ay + ah, by + bh) - max(ay, by)
        if overlap > min(ah, bh) / 2:
            return ax < bx
        return ay < by

    def expect_default(self, window, name):
        button = self.find(window, name, pyatspi.ROLE_PUSH_BUTTON)
        if button is None or not has(button, pyatspi.STATE_IS_DEFAULT):
            self.fail(f"\"{name}\" is not announced as the default button")

    def alert(self, caption, text):
        """A message box: an alert with its caption, holding its text, its button default."""
        box = self.window(caption, holding=None)
        if box.getRole() != pyatspi.ROLE_ALERT:
            self.fail(f"the box \"{caption}\" is a {box.getRoleName()}, not an alert")
        texts = [acc.name for acc in self.showing(box) if acc.getRole() == pyatspi.ROLE_LABEL]
        if not any(text in t for t in texts):
            self.fail(f"the box \"{caption}\" does not hold \"{text}\": {texts}")
        if not any(has(acc, pyatspi.STATE_IS_DEFAULT) for acc in self.showing(box)):
            self.fail(f"the box \"{caption}\" announces no default button")
        print(f"   alert \"{caption}\": {' / '.join(texts)}", flush=True)
        return box

    def refused(self, field_name, text):
        """After a refused input: the focus back in the field, which says why."""
        self.focused_on(field_name)
        self.wait(lambda: self.focus_owner().description == text,
                  f"the warning \"{text}\" as the description of \"{field_name}\"")
        print(f"   refused: \"{field_name}\" described as \"{self.focus_owner().description}\"",
              flush=True)


# ---- The typical run, window by window ----
# Each step finds its window, checks it and works it by keys, leaving the next window to
# come; STEPS names them in order. One more window is one more step.

def startup_box(walk):
    walk.alert("Warnung", "Es wurde kein Standard-Mailprogramm (MAPI) gefunden.")
    walk.keys("Return")


def welcome(walk):
    window = walk.window("Willkommen")
    walk.check(window)
    walk.expect_default(window, "OK")
    walk.keys("Return")


def wizard(walk):
    window = walk.window("Kivrel - Assistent")
    walk.focused_on("Turnierbezeichnung")
    walk.keys("Return")  # Weiter with nothing typed
    walk.alert("Warnung", "Bitte geben Sie die Turnierbezeichnung an.")
    walk.keys("Return")
    walk.refused("Turnierbezeichnung", "Bitte geben Sie die Turnierbezeichnung an.")
    walk.check(window)
    walk.expect_default(window, "Weiter")
    calendar(walk)
    walk.fill("Turnierbezeichnung", ["Stadtpokal 2026", ("14032026", "14.03.2026"), "Musterstadt",
                                     "meldung@example.org"])
    walk.keys("Return")
    walk.page(window, "Vereinsname")
    walk.fill("Vereinsname", ["TSV Musterstadt", "0815", "Nordkreis", "Ost", "Nordland", "",
                              "GER"])
    walk.keys("Return")
    walk.page(window, "Vorname")
    walk.fill("Vorname", ["Anna", "Berger", "Hauptstr. 1", "12345", "Musterstadt",
                          "01234 5678"])
    walk.keys("Return")
    walk.wait(lambda: walk.find(window, "OK", pyatspi.ROLE_PUSH_BUTTON) and
              has(walk.find(window, "OK", pyatspi.ROLE_PUSH_BUTTON), pyatspi.STATE_ENABLED),
              "the wizard's last page with OK")
    walk.check(window)
    walk.expect_default(window, "OK")
    walk.keys("Return")


def calendar(walk):
    """The date field's calendar, dropped down by keys, and closed again."""
    walk.tab_to("Veranstaltungsdatum")
    walk.keys("alt+Down")
    walk.wait(lambda: walk.has_focus() and walk.focus_owner().getRole() == pyatspi.ROLE_TABLE,
              "the calendar with the focus in its month")
    popup = walk.focus_owner()
    while popup.parent.getRole() != pyatspi.ROLE_APPLICATION:
        popup = popup.parent
    walk.check(popup)
    walk.keys("Escape")
    walk.focused_on("Veranstaltungsdatum")
    walk.tab_to("Turnierbezeichnung")


def editor_first(walk):
    window = walk.window("Teilnehmer einfügen")
    walk.focused_on("Nachname")
    walk.keys("Return")  # OK && Weiter with nothing typed
    walk.alert("Warnung", "Bitte geben Sie Vor- und Nachnamen des Teilnehmers an.")
    walk.keys("Return")
    walk.refused("Nachname", "Bitte geben Sie Vor- und Nachnamen des Teilnehmers an.")
    walk.type("Adler")
    walk.keys("Tab")
    walk.focused_on("Vorname")
    walk.type("Ben")
    walk.keys("Tab")  # into the empty age-group list: the age-group dialog comes
    age_group(walk, "U12", "m")
    walk.window("Teilnehmer einfügen")
    # Checked with an age group there: Tab into the empty list would open the dialog.
    walk.focused_on("Altersgruppe")
    walk.check(window)
    walk.expect_default(window, "OK & Weiter")
    walk.rest_of_participant("2015", 4, "-30")
    walk.keys("Return")  # OK && Weiter


def age_group(walk, name, gender):
    window = walk.window("Altersgruppe einfügen")
    walk.focused_on("Bezeichnung")
    walk.check(window)
    walk.expect_default(window, "OK")
    walk.type(name)
    walk.keys("Tab")
    walk.focused_on("Geschlecht")
    walk.keys(gender)
    walk.keys("Return")


def editor_more(walk):
    walk.window("Teilnehmer einfügen")
    walk.focused_on("Nachname")
    walk.type("Kurz")
    walk.keys("Tab")
    walk.focused_on("Vorname")
    walk.type("Tim")
    walk.keys("Tab")
    walk.focused_on("Altersgruppe")
    walk.keys("Down")
    walk.rest_of_participant("2014", 0, "+50")
    walk.keys("Return")
    walk.window("Teilnehmer einfügen")
    walk.focused_on("Nachname")
    walk.type("Lange")
    walk.keys("Tab")
    walk.focused_on("Vorname")
    walk.type("Mia")
    walk.keys("Tab")
    walk.focused_on("Altersgruppe")
    walk.keys("alt+u")  # "Ne&u": a second age group
    age_group(walk, "U15", "w")
    walk.window("Teilnehmer einfügen")
    walk.rest_of_participant("2012", 1, "-44")
    walk.keys("alt+o")  # OK: the last one


def main_window(walk):
    window = walk.window("Kivrel 4.2 Osmira Edition")
    walk.focused_on("Teilnehmer")
    walk.check(window)
    rows = [row[:5] + row[7:] for row in walk.grid_rows(window, "Teilnehmer")]
    expected = [["Adler", "Ben", "2015", "U12 (m)", "-30", "7. Kyu"],
                ["Kurz", "Tim", "2014", "U12 (m)", "+50", " "],
                ["Lange", "Mia", "2012", "U15 (w)", "-44", " "]]
    if rows != expected:
        walk.fail(f"the grid reads {rows}")
    event = walk.find(window, "Veranstaltung: Bezeichnung")
    if event is None or event.queryText().getText(0, -1) != "Stadtpokal 2026":
        walk.fail("\"Veranstaltung: Bezeichnung\" does not read \"Stadtpokal 2026\"")


def finishing(walk):
    walk.keys("alt+v", "f")  # "&Veranstaltung", "&Fertigstellen"
    walk.file_dialog(os.path.join(walk.home, "Meldungen", "Stadtpokal"))
    written = lambda: sorted(os.listdir(os.path.join(walk.home, "Meldungen")))
    walk.wait(lambda: written() == ["StadtpokalU12 (m).tv4", "StadtpokalU15 (w).tv4"],
              "the entry files StadtpokalU12 (m).tv4 and StadtpokalU15 (w).tv4")
    # The example's participants, as typed (WholeRun checks the files byte for byte).
    for name, line in (("StadtpokalU12 (m).tv4", '"Adler","Ben","3","30","","2015"'),
                       ("StadtpokalU12 (m).tv4", '"Kurz","Tim","","","50","2014"'),
                       ("StadtpokalU15 (w).tv4", '"Lange","Mia","0","44","","2012"')):
        with open(os.path.join(walk.home, "Meldungen", name), encoding="cp1252") as entry:
            if line not in entry.read():
                walk.fail(f"{name} lacks {line}")


def sending(walk):
    # No mail client took the entry: the ways to send it yourself.
    window = walk.window("Meldung versenden")
    walk.check(window)
    walk.expect_default(window, "E-Mail-Entwurf öffnen")
    walk.keys("Escape")  # "Schließen": nothing to lose


def import_preview(walk):
    walk.window("Kivrel 4.2 Osmira Edition")
    walk.keys("alt+t", "i")  # "&Teilnehmer", "&Importieren..."
    walk.file_dialog(walk.member_list)
    window = walk.window("Teilnehmer importieren", holding="Vorschau der Zeilen")
    walk.check(window)
    walk.tab_to("Vorschau der Zeilen")
    cells = walk.grid_cells(window, "Vorschau der Zeilen")
    for text in ("Start: Start, Zeile 2",
                 "Vorname: Łukasz (Der Vorname „Łukasz“ enthält das Zeichen „Ł“"):
        if not any(cell.startswith(text) for cell in cells):
            walk.fail(f"no cell of the preview reads \"{text}\": {cells}")
    walk.keys("space")  # ticks the marked row
    walk.wait(lambda: any("Start, Zeile 2" in cell and "checked" in cell
                          for cell in walk.grid_cells(window, "Vorschau der Zeilen")),
              "the first row ticked")
    walk.keys("alt+r")  # "&Regeln...": the rules dialog
    rules_dialog(walk)
    walk.window("Teilnehmer importieren", holding="Vorschau der Zeilen")
    walk.keys("Escape")  # a ticked row is a change: asks first
    walk.alert("Bestätigung", "Die Änderungen in der Vorschau gehen verloren.")
    walk.keys("Return")


def rules_dialog(walk):
    window = walk.window("Regeln der Altersgruppen")
    walk.check(window)
    walk.keys("Escape")  # nothing changed: closes at once


def event_dialog(walk):
    walk.window("Kivrel 4.2 Osmira Edition")
    walk.keys("alt+v", "b")  # "&Veranstaltung", "&Bearbeiten"
    window = walk.window("Veranstaltungsdaten")
    walk.check(window)
    walk.keys("Escape")


def sender_dialog(walk):
    walk.window("Kivrel 4.2 Osmira Edition")
    walk.keys("alt+d", "Right", "Return")  # "Absender" has no access letter: from "&Datei"
    window = walk.window("Absenderangaben")
    walk.check(window)
    walk.keys("ctrl+Tab")
    walk.wait(lambda: walk.find(window, "Vorname"), "the tab \"Person\"")
    walk.check(window)
    walk.keys("Escape")


def about(walk):
    walk.window("Kivrel 4.2 Osmira Edition")
    walk.keys("alt+i", "k")  # "&Information", "Über &Kivrel 4.0"
    window = walk.window("Info")
    walk.check(window)
    walk.expect_default(window, "OK")
    walk.keys("Return")


def closing(walk):
    walk.window("Kivrel 4.2 Osmira Edition")
    walk.keys("alt+d", "b")  # "&Datei", "&Beenden"
    walk.alert("Bestätigung", "Soll der Kivrel wirklich beendet werden ?")
    walk.keys("Return")
    window = walk.window("Information")
    walk.check(window)
    walk.expect_default(window, "OK")
    walk.keys("Return")


# In the order the run meets them. One more window: a step that finds it (walk.window), checks
# it (walk.check) and closes it by keys, put in its place here; each step after finishing
# starts from the main window, so a window that finishing opens is a step right after it.
STEPS = [startup_box, welcome, wizard, editor_first, editor_more, main_window, finishing, sending,
         import_preview, event_dialog, sender_dialog, about, closing]


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    if not os.environ.get("DISPLAY") or os.environ.get("QT_QPA_PLATFORM") != "xcb":
        print("needs Qt's xcb platform on an X server (QT_QPA_PLATFORM=xcb)")
        return SKIP
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        print("needs a session bus: run it inside dbus-run-session")
        return 1
    home = tempfile.mkdtemp(prefix="kivrel-screenreader-")
    walk = Walk(os.path.abspath(sys.argv[1]), home)
    started = time.monotonic()
    wm = None
    try:
        walk.step = "window manager"
        wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        walk.wait(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout,
            "openbox managing the screen")
        walk.step = "start"
        walk.start()
        for step in STEPS:
            walk.step = step.__name__
            print(f"== {walk.step} [{time.monotonic() - started:.1f}s]", flush=True)
            step(walk)
        walk.step = "end"
        walk.wait(lambda: walk.process.poll() is not None, "the program's end")
        if walk.process.returncode != 0:
            walk.fail(f"the program ended with exit code {walk.process.returncode}")
    except Failed as error:
        walk.failures.append(f"{walk.step}: {error}")
        print(f"   FAILED in step {walk.step}: {error}", flush=True)
    except Exception as error:  # a tool missing, the bus gone
        walk.failures.append(f"{walk.step}: {type(error).__name__}: {error}\n"
                             f"{walk.what_there_is()}")
        print(f"   FAILED in step {walk.step}: {type(error).__name__}: {error}", flush=True)
    finally:
        if walk.process and walk.process.poll() is None:
            walk.process.kill()
            walk.process.wait()
        if wm:
            wm.terminate()
            wm.wait()
        if walk.log:
            walk.log.close()
            with open(walk.log.name) as log:
                output = log.read().strip()
            if output and walk.failures:
                print("== the program's output\n" + output)
        shutil.rmtree(home, ignore_errors=True)
    print(f"== {len(walk.focus_log)} focus changes, {len(walk.checked)} windows checked, "
          f"{walk.wm_lapses} focus lapse(s) of the window manager, "
          f"{time.monotonic() - started:.1f}s")
    for failure in walk.failures:
        print(f"FAILED: {failure}")
    return 1 if walk.failures else 0


if __name__ == "__main__":
    sys.exit(main())
