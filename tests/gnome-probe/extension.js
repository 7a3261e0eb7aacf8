// For the suite only, in a shell of its own: the shell's answers over D-Bus
// (org.gnome.Shell.Eval) and a record of what took the keyboard from a window.
const Main = imports.ui.main;

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
        this._pushModal = Main.pushModal;
        const pushModal = this._pushModal;
        Main.pushModal = function (actor, ...rest) {
            global.probeModal.push(actor ? actor.toString() : '(none)');
            return pushModal.call(this, actor, ...rest);
        };
    }

    disable() {
        global.display.disconnect(this._focus);
        Main.pushModal = this._pushModal;
    }
}

function init() {
    return new Probe();
}
