// The page's script: it starts the module, hands the browser's events to the window's handlers in the
// module, shows the program's messages, saves the reports, and runs a vehicle list in a Web Worker.
// It holds no caption, entry or rule of the program: those come with the page and the module.
"use strict";

(() => {
    const form = document.getElementById("Form1");
    const messageBox = document.getElementById("message-box");
    const message = document.getElementById("message");
    let module = null;

    // The program's messages, in one element that screen readers announce.
    function inform(text) {
        message.textContent = text;
        messageBox.classList.add("shown");
    }

    function closeMessage() {
        messageBox.classList.remove("shown");
        message.textContent = "";
    }

    // "Выход" ends the program: the page closes when the browser lets it, or starts afresh.
    function endProgram() {
        window.close();
        setTimeout(() => location.reload(), 200);
    }

    function save(name, type, bytes) {
        const url = URL.createObjectURL(new Blob([bytes], {type}));
        const link = document.createElement("a");
        link.href = url;
        link.download = name;
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(url), 60000);
    }

    // The window's events for the browser's: "Click" for a chosen list entry, a click into a field, a
    // chosen drop-down entry, a selected option button and a pressed button; "Change" for typing.
    // A message stays until the next action, which may bring its own (and is announced anew).
    function raise(control, event) {
        if (!module || !control.id)
            return;
        closeMessage();
        module.ccall("tm_event", null, ["string", "string"], [control.id, event]);
    }

    function isDropDown(control) {
        return control.tagName === "INPUT" && control.hasAttribute("list");
    }

    function isTextField(control) {
        return control.tagName === "INPUT" && control.type === "text" && !isDropDown(control);
    }

    function listen() {
        form.addEventListener("change", (event) => {
            const control = event.target;
            if (control.tagName === "SELECT" || control.type === "radio" || isDropDown(control))
                raise(control, "Click");
        });
        form.addEventListener("input", (event) => {
            const control = event.target;
            if (isTextField(control))
                raise(control, "Change");
            // An entry picked from a drop-down's list arrives as one replacement of the text, not as typing.
            else if (isDropDown(control) && (!(event instanceof InputEvent) || event.inputType === "insertReplacementText"))
                raise(control, "Click");
        });
        form.addEventListener("click", (event) => {
            const control = event.target.closest("button, input, option");
            if (!control)
                return;
            if (control.tagName === "OPTION") {
                // A click on the entry that is already chosen applies it again, as in the window.
                const list = control.closest("select");
                if (list && list.selectedIndex >= 0)
                    raise(list, "Click");
            } else if (control.tagName === "BUTTON" || isTextField(control)) {
                raise(control, "Click");
            }
        });
        document.getElementById("message-close").addEventListener("click", closeMessage);
        document.addEventListener("keydown", (event) => {
            if (event.key === "Escape" && messageBox.classList.contains("shown"))
                closeMessage();
        });
    }

    // A vehicle list: computed in a Web Worker as the desktop's fleet window computes it, then saved under
    // the name the result would have beside the list, and shown as the fleet window shows it: the status
    // line, the summary, the rejected rows and the line below them, all of them texts of the module.
    const fleetFile = document.getElementById("fleet-file");
    const fleetProgress = document.getElementById("fleet-progress");
    const fleetStatus = document.getElementById("fleet-status");
    const fleetSummary = document.getElementById("fleet-summary");
    const fleetRejected = document.getElementById("fleet-rejected");
    const fleetMore = document.getElementById("fleet-more");
    let fleetWorker = null; // a promise of the worker, started when the first list is chosen
    let fleetBusy = false;

    // The summary's captions and values; no lines hide it.
    function showSummary(lines) {
        fleetSummary.replaceChildren(...lines.flatMap(([caption, value]) => {
            const term = document.createElement("dt");
            const description = document.createElement("dd");
            term.textContent = caption;
            description.textContent = value;
            return [term, description];
        }));
        fleetSummary.hidden = !lines.length;
    }

    // The rejected rows (the row as the spreadsheet numbers it, the columns, the reason) and below them
    // how many are not listed; none hide both. Each row is a copy of one made once: ten times as fast
    // as making each cell, which counts for 10 000 rows.
    const rejectedRow = document.createElement("tr");
    rejectedRow.innerHTML = "<th scope=\"row\"></th><td></td><td></td>";

    function showRejected(rows, more) {
        const body = document.createElement("tbody");
        for (const texts of rows) {
            const line = rejectedRow.cloneNode(true);
            texts.forEach((text, i) => {
                line.cells[i].textContent = text;
            });
            body.append(line);
        }
        fleetRejected.tBodies[0].replaceWith(body);
        fleetRejected.parentElement.hidden = !rows.length;
        fleetMore.textContent = more;
        fleetMore.hidden = !more;
    }

    function loadFleetModule() {
        if (window.tarifmasterFleet)
            return Promise.resolve(window.tarifmasterFleet);
        return new Promise((resolve, reject) => {
            const script = document.createElement("script");
            script.src = "fleet.js";
            script.onload = () => resolve(window.tarifmasterFleet);
            script.onerror = reject;
            document.head.append(script);
        });
    }

    function startFleetWorker() {
        if (!fleetWorker) {
            fleetWorker = loadFleetModule().then((source) => {
                // From the module's own text: a worker made so works from a local folder as well.
                const url = URL.createObjectURL(new Blob([source], {type: "text/javascript"}));
                const worker = new Worker(url);
                URL.revokeObjectURL(url);
                return worker;
            });
        }
        return fleetWorker;
    }

    function computeFleet(file) {
        if (fleetBusy) { // a list chosen while another is computed replaces it
            fleetWorker.then((worker) => worker.terminate());
            fleetWorker = null;
        }
        fleetBusy = true;
        performance.mark("fleet-chosen");
        fleetStatus.textContent = "";
        delete fleetStatus.dataset.status;
        showSummary([]);
        showRejected([], "");
        fleetProgress.hidden = false;
        fleetProgress.removeAttribute("value");
        startFleetWorker().then((worker) => {
            worker.onmessage = (event) => {
                const data = event.data;
                if (data.percent !== undefined) {
                    fleetProgress.value = data.percent;
                } else if (data.status !== undefined) {
                    fleetStatus.textContent = data.status;
                } else if (data.done !== undefined) {
                    fleetBusy = false;
                    fleetProgress.hidden = true;
                    performance.measure("fleet", "fleet-chosen"); // bench/web_bench.py reports it
                    if (data.result)
                        save(data.name, data.type, data.result);
                    showSummary(data.summary);
                    showRejected(data.rejected, data.more);
                    fleetStatus.dataset.status = data.done; // the batch's exit status, as the program's
                }
            };
            worker.postMessage({file});
        });
    }

    // A user who goes for the file field or drags a file over the page is about to choose a list: the
    // module loads while the file dialog is open, and the list is computed as soon as it is chosen.
    for (const [target, event] of [[fleetFile, "pointerenter"], [fleetFile, "focus"], [document, "dragenter"]])
        target.addEventListener(event, startFleetWorker, {once: true});
    fleetFile.addEventListener("change", () => {
        if (fleetFile.files.length)
            computeFleet(fleetFile.files[0]);
    });
    document.addEventListener("dragover", (event) => {
        if (event.dataTransfer && Array.from(event.dataTransfer.types).includes("Files"))
            event.preventDefault();
    });
    document.addEventListener("drop", (event) => {
        if (!event.dataTransfer || !event.dataTransfer.files.length)
            return;
        event.preventDefault();
        computeFleet(event.dataTransfer.files[0]);
    });

    // Served over http(s), the page keeps its files for offline use and can be installed; from a local
    // folder the browser allows neither, and would not even read the manifest.
    if (location.protocol.startsWith("http")) {
        const manifest = document.createElement("link");
        manifest.rel = "manifest";
        manifest.href = "manifest.webmanifest";
        document.head.append(manifest);
        if ("serviceWorker" in navigator)
            navigator.serviceWorker.register("sw.js");
    }

    // The module is small enough to be compiled at once: the page computes before it is first drawn.
    module = createTarifMaster({wasmBinary: createTarifMaster.wasmBinary(), inform, download: save, endProgram});
    module.ccall("tm_load", null, ["number"], [performance.timeOrigin]);
    listen();
    document.documentElement.classList.add("ready");
    performance.mark("ready"); // from here a click computes: bench/web_bench.py times it
    // The fleet module, with the workbook libraries the largest file of the site, is fetched only when a
    // list is about to be chosen: a visit that computes one vehicle never loads it.
})();
