// For the suite only, in a shell of its own: the shell's answers over D-Bus
// (org.gnome.Shell.Eval) and a record of what took the keyboard from a window.
// Written for both loaders: GNOME 45 and later take it as a module, with the
// last lines made an export (tests/e2e_gnome.sh does that).

class Probe {
    enable() {
        global.context.unsafe_mode = true;
        // Titles of the windows that got the focus, and what the shell's own
        // interface took the keyboard for (the overview, the run dialog,
        // the screenshot tool, a menu), in order.
        global.probeFocus = [];
        global.probeModal = [];
        this._focus = global.display.connect('notify::focus-window', () => {
            const w = global.display.focus_window;
            global.probeFocus.push(w ? w.get_title() : '(none)');
        });
        // The shell's interface takes the keyboard through a grab on the
        // stage; a module's own functions cannot be wrapped from outside.
        const stage = global.stage;
        const grab = stage.grab;
        stage.grab = function (actor, ...rest) {
            global.probeModal.push(actor ? actor.toString() : '(none)');
            return grab.call(this, actor, ...rest);
        };
    }

    disable() {
        global.display.disconnect(this._focus);
        delete global.stage.grab;
    }
}

function init() {
    return new Probe();
}
