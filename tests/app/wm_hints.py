#!/usr/bin/env python3
"""Prints the state an X11 window asked to start in: normal or iconic."""
import sys

from Xlib import Xutil, display


def main() -> int:
    dpy = display.Display()
    window = dpy.create_resource_object("window", int(sys.argv[1]))
    hints = window.get_wm_hints()
    iconic = hints is not None and hints.flags & Xutil.StateHint and hints.initial_state == Xutil.IconicState
    print("iconic" if iconic else "normal")
    dpy.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
