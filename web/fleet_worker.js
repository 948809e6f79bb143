// The worker's side of the vehicle lists, run after the fleet module's script in the same Web Worker. The
// user's file becomes a file of the module's memory under its own name, so that the batch's messages
// name it as the user knows it; the module computes it as the desktop's fleet window does, its result
// beside it (fleet.cpp). The page hears the status line and the progress as they come, then the end:
// the batch's exit status, the summary, the rejected rows, the line below them, and the result whole
// with its name and media type (none when nothing was written).
"use strict";

// Compiled once, when the page starts the worker; each list gets a fresh instance of its own.
const compiled = WebAssembly.compile(createFleet.wasmBinary());

self.onmessage = async (event) => {
    const {file} = event.data;
    const module = await compiled;
    const end = {summary: [], rejected: [], more: "", name: "", type: "", result: null};
    const fleet = await createFleet({
        instantiateWasm(imports, receive) {
            WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
            return {};
        },
        print() {},
        printErr() {},
        status: (text) => postMessage({status: text}),
        progressed: (percent) => postMessage({percent}),
        summaryLine: (caption, value) => end.summary.push([caption, value]),
        rejectedRow: (row, columns, reason) => end.rejected.push([row, columns, reason]),
        result: (more, name, type) => Object.assign(end, {more, name, type}),
    });
    const FS = fleet.FS;
    const list = file.name.replace(/\//g, "_") || "list.csv";
    FS.writeFile(list, new Uint8Array(await file.arrayBuffer()), {canOwn: true});
    const status = fleet.ccall("tm_fleet", "number", ["string"], [list]);
    if (end.name)
        end.result = new Blob([FS.readFile(end.name)], {type: end.type});
    postMessage({done: status, ...end});
};
