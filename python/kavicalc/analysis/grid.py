"""kavicalc.grid: a resource grid on local threads or on a Dask cluster."""

from .._site_runs import check_jobs
from .dataset import grid_dataset, provenance
from .failures import FailureReport
from .inputs import CalculationInputs, calculate
from .layout import grid_layout, height_list
from .power_curve import check_air_density, read_power_curve
from .progress import NodeProgress

GRID_TITLE = "Predicted wind resource on a regular grid"


def read_curve(power_curve, air_density):
    """The power curve to use (corrected for air_density), or None."""
    if power_curve is None:
        if air_density is not None:
            raise ValueError("air_density needs power_curve, the turbine's power curve file")
        return None
    curve = read_power_curve(power_curve)
    if air_density is None:
        return curve
    return curve.at_air_density(check_air_density(air_density))


def _calculate_here(inputs, tasks, jobs_count, nodes, heights, progress):
    """SiteValues of the grid's tasks on local threads, with a progress report if asked."""
    if not progress:
        return calculate(inputs.open_user, tasks, jobs_count)
    report = NodeProgress("kavicalc.grid", nodes, heights)
    try:
        return calculate(inputs.open_user, tasks, jobs_count, report)
    finally:
        report.finish()


def run_grid(map, atlas, heights, *, bounds, around, radius, spacing, rose, obstacles,
             parameters, power_curve, air_density, jobs, client, progress, edition, tile_nodes,
             scheduler_timeout):
    layout = grid_layout(bounds, around, radius, spacing)
    heights = height_list(heights)
    inputs = CalculationInputs(map, atlas, rose, obstacles, parameters, edition)
    inputs.check_readable()
    curve = read_curve(power_curve, air_density)
    tasks = [(*layout.node_position(node), height)
             for node in range(layout.nodes) for height in heights]
    tile_failures = []
    if client is None:
        values = _calculate_here(inputs, tasks, check_jobs(jobs), layout.nodes, len(heights),
                                 progress)
    else:
        from .cluster import run_on_cluster
        values, tile_failures = run_on_cluster(client, inputs, tasks, len(heights), tile_nodes,
                                               progress, scheduler_timeout)
    attrs = provenance(inputs.edition, inputs.map_file, inputs.atlas_file, inputs.rose_file,
                       inputs.obstacles_file, inputs.parameters, power_curve, air_density,
                       GRID_TITLE)
    report = FailureReport(tasks, values, tile_failures)
    return report.apply(grid_dataset(layout, heights, values, curve, attrs), "kavicalc.grid")
