"""Reads the running program's main window through AT-SPI, as a screen reader or a
test driver would: optionally presses a button first (by its accessible name) and
waits for the message line to settle, then prints every control with its role,
name, text, description and colours."""
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# The per-interface getters are deprecated in newer releases but are what Debian 12 has.
warnings.filterwarnings("ignore", category=DeprecationWarning)

APP_NAME = "R-KVT-MS_v2.48"


def find_app(timeout):
    desktop = Atspi.get_desktop(0)
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == APP_NAME:
                return app
        time.sleep(0.2)
    sys.exit(f"accessibility: no application named {APP_NAME} on the accessibility bus")


def nodes(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from nodes(child)


def find(app, role, name):
    return next((n for n in nodes(app) if n.get_role_name() == role and n.get_name() == name), None)


def text_and_colours(node):
    text = node.get_text_iface() if hasattr(node, "get_text_iface") else None
    if text is None:
        return None, {}
    run = text.get_attribute_run(0, False)
    return text.get_text(0, -1), (run[0] if run else {})


def press(app, name, settle):
    button = find(app, "push button", name)
    if button is None:
        sys.exit(f"accessibility: no button named {name!r}")
    button.get_action_iface().do_action(0)
    # The message line changes while the command runs; wait until it stays put.
    message = find(app, "label", "Message line")
    last, steady_since = None, time.monotonic()
    end = time.monotonic() + settle
    while time.monotonic() < end:
        now = message.get_description() if message else None
        if now != last:
            last, steady_since = now, time.monotonic()
        elif now and time.monotonic() - steady_since > 1.0:
            break
        time.sleep(0.1)


def show(app):
    def walk(node, depth):
        role = node.get_role_name()
        text, colours = text_and_colours(node)
        parts = [f"{'  ' * depth}{role}: {node.get_name()!r}"]
        if text is not None:
            parts.append(f"text={text!r}")
        description = node.get_description()
        if description:
            parts.append(f"description={description!r}")
        if colours:
            parts.append(" ".join(f"{k}={v}" for k, v in sorted(colours.items())))
        states = node.get_state_set()
        if not states.contains(Atspi.StateType.ENABLED):
            parts.append("(disabled)")
        if not states.contains(Atspi.StateType.SHOWING):
            parts.append("(hidden)")
        print("  ".join(parts))
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                walk(child, depth + 1)

    walk(app, 0)


def main():
    app = find_app(20)
    for name in sys.argv[1:]:
        press(app, name, 30)
    show(app)


if __name__ == "__main__":
    main()
