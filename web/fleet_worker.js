// The worker's side of the vehicle lists, run after the fleet module's script in the same Web Worker. The
// user's file becomes a file of the module's memory under its own name, so that the batch's messages
// name it as the user knows it. The batch mode writes a CSV result into a device that collects the bytes
// as they come; a workbook list's result is a workbook of the list's own kind, written as a file under
// the name the page saves it by (output), and read back. The result goes back to the page whole.
"use strict";

// Compiled once, when the page starts the worker; each list gets a fresh instance of its own.
const compiled = WebAssembly.compile(createFleet.wasmBinary());

self.onmessage = async (event) => {
    const {file, output} = event.data;
    const module = await compiled;
    const fleet = await createFleet({
        instantiateWasm(imports, receive) {
            WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
            return {};
        },
        print() {},
        printErr() {},
    });
    const FS = fleet.FS;
    const input = file.name.replace(/\//g, "_") || "list.csv";
    FS.writeFile(input, new Uint8Array(await file.arrayBuffer()), {canOwn: true});

    const parts = [];
    const device = FS.makedev(64, 0);
    FS.registerDevice(device, {
        write(stream, buffer, offset, length) {
            parts.push(buffer.slice(offset, offset + length));
            return length;
        },
    });
    FS.mkdev("/result", device);
    const workbook = /\.(xlsx|ods)$/i.test(output) ? output.replace(/\//g, "_") : "";
    const status = fleet.ccall("tm_fleet", "number", ["string", "string", "string"], [input, workbook, "/result"]);
    let result = null;
    if (status !== 2)
        result = new Blob(workbook ? [FS.readFile(workbook)] : parts);
    postMessage({done: status, result});
};
